#pragma once

#include <QList>
#include <functional>

struct TFeatureShape;

// What the station needs of the engine that draws its four views: Chart1 (X-Y), Chart2 (X-Z),
// Chart3 (Y-Z) and Chart4 (3D), each carrying four of the sixteen series Series1 to Series16
// (recorded points 1-4, live position 5-8, first line 9-12, second line 13-16; series n belongs to
// chart (n - 1) % 4 + 1). The station's logic talks to the views only through this interface, so a
// test can stand in for the drawing.
enum class TAxis
{
    Bottom,
    Left,
    Depth,
};

struct TSeriesPoint
{
    double horizontal = 0.0;
    double vertical = 0.0;
    double depth = 0.0;
};

class TChartEngine
{
public:
    using TPointClickHandler = std::function<void(int series, int index)>;

    virtual ~TChartEngine() = default;

    virtual void SetAxisMaximum(int chart, TAxis axis, double value) = 0;
    virtual void SetAxisMinimum(int chart, TAxis axis, double value) = 0;
    virtual double AxisMaximum(int chart, TAxis axis) const = 0;
    virtual double AxisMinimum(int chart, TAxis axis) const = 0;

    virtual void AddPlanePoint(int series, double horizontal, double vertical) = 0;
    virtual void Add3DPoint(int series, double horizontal, double vertical, double depth) = 0;
    virtual void ClearSeries(int series) = 0;
    virtual int SeriesCount(int series) const = 0;
    virtual TSeriesPoint SeriesPoint(int series, int index) const = 0;

    // Rotation and elevation of the 3D view, whole degrees.
    virtual void SetRotation(int degrees) = 0;
    virtual int Rotation() const = 0;
    virtual void SetElevation(int degrees) = 0;
    virtual int Elevation() const = 0;

    virtual void BringToFront(int chart) = 0;
    virtual int FrontChart() const = 0;

    // The features drawn over the recorded points of chart 1 to 4, replacing those drawn before.
    virtual void SetFeatureLayer(int chart, const QList<TFeatureShape> &layer) = 0;

    // Called with the series (1 to 4) and the index, in that series' own order, of a clicked point mark.
    void SetPointClickHandler(TPointClickHandler handler) { m_onPointClick = std::move(handler); }

protected:
    void ReportPointClick(int series, int index) const
    {
        if (m_onPointClick)
            m_onPointClick(series, index);
    }

private:
    TPointClickHandler m_onPointClick;
};
