#pragma once

#include "plots/chartengine.h"
#include "plots/featurelayer.h"

#include <algorithm>
#include <array>
#include <vector>

// A chart engine that only keeps the data: axis ranges, the sixteen series, rotation, elevation and
// the view in front. It stands in for the drawing engine wherever nothing needs to be seen, and
// ClickMark plays the operator's click on a recorded point's mark.
class TSeriesStore : public TChartEngine
{
public:
    // One axis setting as it was made, in order, so that the order of a zoom can be checked.
    struct TAxisChange
    {
        int chart = 0;
        TAxis axis = TAxis::Bottom;
        bool maximum = false;
        double value = 0.0;
    };

    // As the views are built: every axis -50 to 50 mm, rotation 301, elevation 344, X-Y in front.
    TSeriesStore();

    void SetAxisMaximum(int chart, TAxis axis, double value) override;
    void SetAxisMinimum(int chart, TAxis axis, double value) override;
    double AxisMaximum(int chart, TAxis axis) const override;
    double AxisMinimum(int chart, TAxis axis) const override;

    void AddPlanePoint(int series, double horizontal, double vertical) override;
    void Add3DPoint(int series, double horizontal, double vertical, double depth) override;
    void ClearSeries(int series) override;
    int SeriesCount(int series) const override;
    TSeriesPoint SeriesPoint(int series, int index) const override;
    void SetMarkDeleted(int series, int index, bool deleted) override;
    bool IsMarkDeleted(int series, int index) const override;

    void SetRotation(int degrees) override { m_rotation = degrees; }
    int Rotation() const override { return m_rotation; }
    void SetElevation(int degrees) override { m_elevation = degrees; }
    int Elevation() const override { return m_elevation; }

    void BringToFront(int chart) override;
    int FrontChart() const override { return m_front; }

    void SetFeatureLayer(int chart, const QList<TFeatureShape> &layer) override;
    const TFeatureLayer &FeatureLayer(int chart) const
    {
        return m_featureLayers.at(std::clamp(chart, 1, 4) - 1);
    }
    void ShowZoomPosition(int chart, int position) override
    {
        m_zoomPositions.at(size_t(chart - 1)) = position;
    }
    // The zoom bar's position as last shown by a fit or Home (0 before).
    int ZoomPosition(int chart) const { return m_zoomPositions.at(size_t(chart - 1)); }
    void SetRowSegments(int chart, const std::vector<TSeriesSegment> &thin,
                        const std::vector<TSeriesSegment> &highlighted) override
    {
        m_rowSegments.at(size_t(chart - 1)) = {thin, highlighted};
    }
    // The thin (first) and highlighted (second) row segments of chart 1 to 4.
    const std::pair<std::vector<TSeriesSegment>, std::vector<TSeriesSegment>> &RowSegments(int chart) const
    {
        return m_rowSegments.at(size_t(chart - 1));
    }

    // Reports a click on mark index of series as the drawing engine would: only for the recorded
    // series 1 to 4 and an index the series holds; returns whether anything was reported.
    bool ClickMark(int series, int index) const;

    const std::vector<TAxisChange> &AxisChanges() const { return m_axisChanges; }
    void ForgetAxisChanges() { m_axisChanges.clear(); }

private:
    struct TRange
    {
        double minimum = -50.0;
        double maximum = 50.0;
    };

    TRange *Range(int chart, TAxis axis);
    const TRange *Range(int chart, TAxis axis) const;
    std::vector<TSeriesPoint> *Series(int series);
    const std::vector<TSeriesPoint> *Series(int series) const;

    std::array<std::array<TRange, 3>, 4> m_ranges{};
    std::array<std::vector<TSeriesPoint>, 16> m_series;
    std::array<std::vector<bool>, 4> m_deleted;
    std::vector<TAxisChange> m_axisChanges;
    std::array<TFeatureLayer, 4> m_featureLayers;
    std::array<int, 4> m_zoomPositions{};
    std::array<std::pair<std::vector<TSeriesSegment>, std::vector<TSeriesSegment>>, 4> m_rowSegments;
    int m_rotation = 301;
    int m_elevation = 344;
    int m_front = 1;
};
