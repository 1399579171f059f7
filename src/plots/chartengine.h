#pragma once

#include <QList>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

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

// A segment between two places of one view, each placed as that view places its points.
using TSeriesSegment = std::pair<TSeriesPoint, TSeriesPoint>;

class TChartEngine
{
public:
    using TPointClickHandler = std::function<void(int series, int index)>;
    // The operator dragged the picture of chart 1 to 3 by (horizontal, vertical) millimetres: the
    // content should follow the mouse, so the ranges move the other way.
    using TPanHandler = std::function<void(int chart, double horizontal, double vertical)>;

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
    // A mark of a recorded series (1 to 4) whose point has been deleted from the point table: it stays
    // in its place but reads as deleted. A new mark, and every mark after ClearSeries, is not deleted.
    virtual void SetMarkDeleted(int series, int index, bool deleted) = 0;
    virtual bool IsMarkDeleted(int series, int index) const = 0;

    // Rotation and elevation of the 3D view, whole degrees.
    virtual void SetRotation(int degrees) = 0;
    virtual int Rotation() const = 0;
    virtual void SetElevation(int degrees) = 0;
    virtual int Elevation() const = 0;

    virtual void BringToFront(int chart) = 0;
    virtual int FrontChart() const = 0;

    // The features drawn over the recorded points of chart 1 to 4, replacing those drawn before.
    virtual void SetFeatureLayer(int chart, const QList<TFeatureShape> &layer) = 0;
    // Where a chart's zoom bar stands, set without moving the ranges again (after a fit or Home).
    virtual void ShowZoomPosition(int /*chart*/, int /*position*/) {}

    // The texts written beside the recorded points' marks of every view, by index in the recorded
    // series (an empty text writes nothing), and whether they are shown.
    virtual void SetPointLabels(const QStringList & /*labels*/) {}
    virtual void ShowPointLabels(bool /*shown*/) {}
    // The distance and angle rows drawn over chart 1 to 4: every row thinly, the selected ones strongly.
    virtual void SetRowSegments(int /*chart*/, const std::vector<TSeriesSegment> & /*thin*/,
                                const std::vector<TSeriesSegment> & /*highlighted*/)
    {}

    // Called with the series (1 to 4) and the index, in that series' own order, of a clicked point mark.
    void SetPointClickHandler(TPointClickHandler handler) { m_onPointClick = std::move(handler); }
    void SetPanHandler(TPanHandler handler) { m_onPan = std::move(handler); }

protected:
    void ReportPointClick(int series, int index) const
    {
        if (m_onPointClick)
            m_onPointClick(series, index);
    }

    void ReportPan(int chart, double horizontal, double vertical) const
    {
        if (m_onPan)
            m_onPan(chart, horizontal, vertical);
    }

private:
    TPointClickHandler m_onPointClick;
    TPanHandler m_onPan;
};
