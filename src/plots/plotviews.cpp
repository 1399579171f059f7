#include "plots/plotviews.h"

#include "common/coordinatetext.h"
#include "plots/featureoutlines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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

// A fit leaves a tenth of the extent free on each side.
constexpr double FitMargin = 1.1;

// A point as chart 1 to 4 places it: (horizontal, vertical, depth).
TSeriesPoint Placed(int chart, TPoint3 point)
{
    switch (chart) {
    case 1:
        return {point.x, point.y, 0.0};
    case 2:
        return {point.x, point.z, 0.0};
    case 3:
        return {point.y, point.z, 0.0};
    default:
        return {point.x, point.z, point.y};
    }
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

void TPlotViews::SetRange(int chart, TAxis axis, double minimum, double maximum)
{
    // Whichever end moves outwards goes first, so that the minimum never passes the maximum.
    if (minimum < m_engine.AxisMinimum(chart, axis)) {
        m_engine.SetAxisMinimum(chart, axis, minimum);
        m_engine.SetAxisMaximum(chart, axis, maximum);
    } else {
        m_engine.SetAxisMaximum(chart, axis, maximum);
        m_engine.SetAxisMinimum(chart, axis, minimum);
    }
}

double TPlotViews::Centre(int chart, TAxis axis) const
{
    return (m_engine.AxisMinimum(chart, axis) + m_engine.AxisMaximum(chart, axis)) / 2.0;
}

void TPlotViews::ZoomChanged(int chart, int position)
{
    if (!IsChart(chart))
        return;
    const double halfSpan = std::max(position, MinimumZoom);
    for (const TAxis axis : {TAxis::Left, TAxis::Bottom, TAxis::Depth}) {
        if (axis == TAxis::Depth && chart != ThreeDChart)
            continue;
        const double centre = Centre(chart, axis);
        // About the origin, as designed, the maximum goes first.
        if (centre == 0.0)
            SetSymmetricRange(chart, axis, halfSpan);
        else
            SetRange(chart, axis, centre - halfSpan, centre + halfSpan);
    }
}

void TPlotViews::Pan(int chart, double horizontal, double vertical)
{
    if (chart < 1 || chart >= ThreeDChart || !std::isfinite(horizontal) || !std::isfinite(vertical))
        return;
    const std::array<std::pair<TAxis, double>, 2> moves{
        {{TAxis::Bottom, horizontal}, {TAxis::Left, vertical}}};
    for (const auto &[axis, by] : moves)
        if (by != 0.0)
            SetRange(chart, axis, m_engine.AxisMinimum(chart, axis) + by,
                     m_engine.AxisMaximum(chart, axis) + by);
}

bool TPlotViews::Fit(int chart)
{
    if (!IsChart(chart))
        return false;
    std::vector<TSeriesPoint> places;
    for (const int series : {RecordedSeries, FirstLineSeries, SecondLineSeries})
        for (int i = 0; i < m_engine.SeriesCount(series + chart - 1); ++i)
            places.push_back(m_engine.SeriesPoint(series + chart - 1, i));
    if (m_fitExtent)
        for (const TPoint3 point : m_fitExtent())
            places.push_back(Placed(chart, point));
    const auto &features = m_featurePlaces[size_t(chart - 1)];
    places.insert(places.end(), features.cbegin(), features.cend());
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::array<double, 3> low{inf, inf, inf};
    std::array<double, 3> high{-inf, -inf, -inf};
    for (const TSeriesPoint &place : places) {
        const std::array<double, 3> values{place.horizontal, place.vertical, place.depth};
        if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); }))
            continue;
        for (size_t n = 0; n < 3; ++n) {
            low[n] = std::min(low[n], values[n]);
            high[n] = std::max(high[n], values[n]);
        }
    }
    if (low[0] > high[0])
        return false;
    const size_t axes = chart == ThreeDChart ? 3 : 2;
    double extent = 0.0;
    for (size_t n = 0; n < axes; ++n)
        extent = std::max(extent, high[n] - low[n]);
    const double halfSpan = std::max(std::ceil(extent / 2.0 * FitMargin), double(MinimumZoom));
    const std::array<TAxis, 3> axisOf{TAxis::Bottom, TAxis::Left, TAxis::Depth};
    for (size_t n = 0; n < axes; ++n) {
        const double centre = (low[n] + high[n]) / 2.0;
        SetRange(chart, axisOf[n], centre - halfSpan, centre + halfSpan);
    }
    m_engine.ShowZoomPosition(chart, int(std::min(halfSpan, double(MaximumZoom))));
    return true;
}

void TPlotViews::Home(int chart)
{
    if (!IsChart(chart))
        return;
    for (const TAxis axis : {TAxis::Left, TAxis::Bottom, TAxis::Depth})
        if (axis != TAxis::Depth || chart == ThreeDChart)
            SetRange(chart, axis, -MaximumZoom, MaximumZoom);
    m_engine.ShowZoomPosition(chart, MaximumZoom);
}

void TPlotViews::ShowRowSegments(const TSegments &thin, const TSegments &highlighted)
{
    for (int chart = 1; chart <= 4; ++chart) {
        const auto place = [chart](const TSegments &segments) {
            std::vector<TSeriesSegment> placed;
            placed.reserve(segments.size());
            for (const auto &[from, to] : segments)
                placed.emplace_back(Placed(chart, from), Placed(chart, to));
            return placed;
        };
        m_engine.SetRowSegments(chart, place(thin), place(highlighted));
    }
}

std::vector<TPoint3> TPlotViews::RecordedPoints() const
{
    std::vector<TPoint3> points;
    const int count = m_engine.SeriesCount(RecordedSeries + ThreeDChart - 1);
    points.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        points.push_back(ClickedPoint(RecordedSeries + ThreeDChart - 1, i));
    return points;
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
    if (m_recordedWatch)
        m_recordedWatch(point);
}

void TPlotViews::SetDeletedMarks(const std::vector<bool> &deleted)
{
    for (int chart = 1; chart <= 4; ++chart) {
        const int series = RecordedSeries + chart - 1;
        const int count = m_engine.SeriesCount(series);
        for (int index = 0; index < count; ++index)
            m_engine.SetMarkDeleted(series, index,
                                    static_cast<std::size_t>(index) < deleted.size() &&
                                        deleted[std::size_t(index)]);
    }
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
    if (m_recordedWatch)
        m_recordedWatch(std::nullopt);
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
        std::vector<TSeriesPoint> &places = m_featurePlaces[size_t(chart - 1)];
        places.clear();
        for (const TDrawnFeature &drawn : features) {
            TFeatureShape shape = TFeatureOutlines::InView(chart, drawn.feature, drawn.points);
            shape.highlighted = drawn.highlighted;
            for (const auto &outline : shape.outlines)
                places.insert(places.end(), outline.cbegin(), outline.cend());
            layer.append(std::move(shape));
        }
        m_engine.SetFeatureLayer(chart, layer);
    }
}
