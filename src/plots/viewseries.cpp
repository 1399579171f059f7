#include "plots/viewseries.h"

TViewSeries::TViewSeries(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

void TViewSeries::Append(const TSeriesPoint &point)
{
    m_points.append(point);
    Q_EMIT Changed();
}

void TViewSeries::Clear()
{
    if (m_points.isEmpty())
        return;
    m_points.clear();
    Q_EMIT Changed();
}
