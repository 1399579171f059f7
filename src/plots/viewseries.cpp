#include "plots/viewseries.h"

TViewSeries::TViewSeries(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

void TViewSeries::Append(const TSeriesPoint &point)
{
    m_points.append(point);
    if (!m_deleted.isEmpty())
        m_deleted.append(false);
    Q_EMIT Changed();
}

void TViewSeries::Clear()
{
    if (m_points.isEmpty())
        return;
    m_points.clear();
    m_deleted.clear();
    Q_EMIT Changed();
}

void TViewSeries::SetDeleted(int index, bool deleted)
{
    if (index < 0 || index >= m_points.size() || IsDeleted(index) == deleted)
        return;
    if (m_deleted.isEmpty())
        m_deleted = QList<bool>(m_points.size(), false);
    m_deleted[index] = deleted;
    Q_EMIT Changed();
}
