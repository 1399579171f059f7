#include "plots/seriesstore.h"

#include <algorithm>
#include <utility>

TSeriesStore::TSeriesStore() = default;

TSeriesStore::TRange *TSeriesStore::Range(int chart, TAxis axis)
{
    return const_cast<TRange *>(std::as_const(*this).Range(chart, axis));
}

const TSeriesStore::TRange *TSeriesStore::Range(int chart, TAxis axis) const
{
    if (chart < 1 || chart > 4)
        return nullptr;
    // The plane views have no depth axis.
    if (axis == TAxis::Depth && chart != 4)
        return nullptr;
    return &m_ranges[chart - 1][static_cast<int>(axis)];
}

std::vector<TSeriesPoint> *TSeriesStore::Series(int series)
{
    return const_cast<std::vector<TSeriesPoint> *>(std::as_const(*this).Series(series));
}

const std::vector<TSeriesPoint> *TSeriesStore::Series(int series) const
{
    if (series < 1 || series > 16)
        return nullptr;
    return &m_series[series - 1];
}

void TSeriesStore::SetAxisMaximum(int chart, TAxis axis, double value)
{
    TRange *range = Range(chart, axis);
    if (!range)
        return;
    // Like a value axis: a maximum below the minimum drags the minimum along.
    range->maximum = value;
    range->minimum = std::min(range->minimum, value);
    m_axisChanges.push_back({chart, axis, true, value});
}

void TSeriesStore::SetAxisMinimum(int chart, TAxis axis, double value)
{
    TRange *range = Range(chart, axis);
    if (!range)
        return;
    range->minimum = value;
    range->maximum = std::max(range->maximum, value);
    m_axisChanges.push_back({chart, axis, false, value});
}

double TSeriesStore::AxisMaximum(int chart, TAxis axis) const
{
    const TRange *range = Range(chart, axis);
    return range ? range->maximum : 0.0;
}

double TSeriesStore::AxisMinimum(int chart, TAxis axis) const
{
    const TRange *range = Range(chart, axis);
    return range ? range->minimum : 0.0;
}

void TSeriesStore::AddPlanePoint(int series, double horizontal, double vertical)
{
    if (auto *points = Series(series))
        points->push_back({horizontal, vertical, 0.0});
}

void TSeriesStore::Add3DPoint(int series, double horizontal, double vertical, double depth)
{
    if (auto *points = Series(series))
        points->push_back({horizontal, vertical, (series - 1) % 4 == 3 ? depth : 0.0});
}

void TSeriesStore::ClearSeries(int series)
{
    if (auto *points = Series(series))
        points->clear();
    if (series >= 1 && series <= 4)
        m_deleted[series - 1].clear();
}

int TSeriesStore::SeriesCount(int series) const
{
    const auto *points = Series(series);
    return points ? static_cast<int>(points->size()) : 0;
}

TSeriesPoint TSeriesStore::SeriesPoint(int series, int index) const
{
    const auto *points = Series(series);
    if (!points || index < 0 || index >= static_cast<int>(points->size()))
        return {};
    return (*points)[index];
}

void TSeriesStore::SetMarkDeleted(int series, int index, bool deleted)
{
    if (series < 1 || series > 4 || index < 0 || index >= SeriesCount(series))
        return;
    std::vector<bool> &flags = m_deleted[series - 1];
    flags.resize(static_cast<std::size_t>(SeriesCount(series)), false);
    flags[static_cast<std::size_t>(index)] = deleted;
}

bool TSeriesStore::IsMarkDeleted(int series, int index) const
{
    if (series < 1 || series > 4 || index < 0)
        return false;
    const std::vector<bool> &flags = m_deleted[series - 1];
    return static_cast<std::size_t>(index) < flags.size() && flags[static_cast<std::size_t>(index)];
}

void TSeriesStore::BringToFront(int chart)
{
    if (chart >= 1 && chart <= 4)
        m_front = chart;
}

bool TSeriesStore::ClickMark(int series, int index) const
{
    if (series < 1 || series > 4 || index < 0 || index >= SeriesCount(series))
        return false;
    ReportPointClick(series, index);
    return true;
}

void TSeriesStore::SetFeatureLayer(int chart, const QList<TFeatureShape> &layer)
{
    if (chart >= 1 && chart <= 4)
        m_featureLayers[chart - 1] = layer;
}
