#include "plots/plotviews.h"

#include "common/coordinatetext.h"
#include "plots/featureoutlines.h"

#include <algorithm>

namespace {

constexpr int RecordedSeries = 1;
constexpr int LiveSeries = 5;
constexpr int FirstLineSeries = 9;
constexpr int SecondLineSeries = 13;
constexpr int ThreeDChart = 4;

bool IsChart(int chart)
{
    return chart >= 1 && chart <= 4;
}

} // namespace

TPlotViews::TPlotViews(TChartEngine &engine) : m_engine(engine) {}

void TPlotViews::StartUp()
{
    for (int chart = 1; chart <= 4; ++chart)
        ZoomChanged(chart, MaximumZoom);
}

void TPlotViews::HandleGraphView(bool xy, bool xz, bool yz, bool threeD)
{
    const bool down[4] = {xy, xz, yz, threeD};
    for (int chart = 1; chart <= 4; ++chart)
        if (down[chart - 1])
            m_engine.BringToFront(chart);
}

void TPlotViews::SetSymmetricRange(int chart, TAxis axis, double halfSpan)
{
    // The maximum goes first so that the minimum never passes it on the way.
    m_engine.SetAxisMaximum(chart, axis, halfSpan);
    m_engine.SetAxisMinimum(chart, axis, -halfSpan);
}

void TPlotViews::ZoomChanged(int chart, int position)
{
    if (!IsChart(chart))
        return;
    const double halfSpan = std::max(position, MinimumZoom);
    SetSymmetricRange(chart, TAxis::Left, halfSpan);
    SetSymmetricRange(chart, TAxis::Bottom, halfSpan);
    if (chart == ThreeDChart)
        SetSymmetricRange(chart, TAxis::Depth, halfSpan);
}

void TPlotViews::RotationChanged(int degrees)
{
    m_engine.SetRotation(degrees);
}

void TPlotViews::ElevationChanged(int degrees)
{
    m_engine.SetElevation(degrees);
}

bool TPlotViews::PlotPoint(const QString &x, const QString &y, const QString &z)
{
    const auto valueX = ReadDecimal(x);
    const auto valueY = ReadDecimal(y);
    const auto valueZ = ReadDecimal(z);
    if (!valueX || !valueY || !valueZ)
        return false;
    AddRecordedPoint({*valueX, *valueY, *valueZ});
    return true;
}

void TPlotViews::AddToSeries(int series, TPoint3 point)
{
    switch ((series - 1) % 4 + 1) {
    case 1:
        m_engine.AddPlanePoint(series, point.x, point.y);
        break;
    case 2:
        m_engine.AddPlanePoint(series, point.x, point.z);
        break;
    case 3:
        m_engine.AddPlanePoint(series, point.y, point.z);
        break;
    default:
        m_engine.Add3DPoint(series, point.x, point.z, point.y);
        break;
    }
}

void TPlotViews::AddRecordedPoint(TPoint3 point)
{
    for (int chart = 1; chart <= 4; ++chart)
        AddToSeries(RecordedSeries + chart - 1, point);
}

void TPlotViews::ShowLivePosition(TPoint3 point, bool xy, bool xz, bool yz, bool threeD)
{
    const bool down[4] = {xy, xz, yz, threeD};
    for (int chart = 1; chart <= 4; ++chart) {
        if (!down[chart - 1])
            continue;
        const int series = LiveSeries + chart - 1;
        m_engine.ClearSeries(series);
        AddToSeries(series, point);
    }
}

void TPlotViews::ClearAllSeries()
{
    for (int series = 1; series <= 16; ++series)
        m_engine.ClearSeries(series);
}

void TPlotViews::ClearLineSeries()
{
    for (int series = FirstLineSeries; series <= 16; ++series)
        m_engine.ClearSeries(series);
}

void TPlotViews::AddLinePoint(int chart, int line, TPoint3 point)
{
    if (!IsChart(chart) || (line != 1 && line != 2))
        return;
    AddToSeries((line == 1 ? FirstLineSeries : SecondLineSeries) + chart - 1, point);
}

TPoint3 TPlotViews::ClickedPoint(int series, int index) const
{
    if (series < 1 || series > 4 || index < 0 || index >= m_engine.SeriesCount(series))
        return {};
    const TSeriesPoint mark = m_engine.SeriesPoint(series, index);
    const auto h = static_cast<float>(mark.horizontal);
    const auto v = static_cast<float>(mark.vertical);
    const auto d = static_cast<float>(mark.depth);
    switch (series) {
    case 1:
        return {h, v, 0.0f};
    case 2:
        return {h, 0.0f, v};
    case 3:
        return {0.0f, h, v};
    default:
        return {h, d, v};
    }
}

void TPlotViews::ShowFeatures(const std::vector<TDrawnFeature> &features)
{
    for (int chart = 1; chart <= 4; ++chart) {
        TFeatureLayer layer;
        layer.reserve(static_cast<qsizetype>(features.size()));
        for (const TDrawnFeature &drawn : features) {
            TFeatureShape shape = TFeatureOutlines::InView(chart, drawn.feature, drawn.points);
            shape.highlighted = drawn.highlighted;
            layer.append(std::move(shape));
        }
        m_engine.SetFeatureLayer(chart, layer);
    }
}
