#pragma once

#include "plots/chartengine.h"

#include <QList>
#include <QObject>

// The points of one of the sixteen series, held as (horizontal, vertical, depth) in millimetres (a plane
// view's depth is 0). It is a child of its view named SeriesN, so that automation finds it and reads
// its count, and it tells its view when its points change.
class TViewSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ Count NOTIFY Changed)

public:
    TViewSeries(const QString &name, QObject *parent);

    void Append(const TSeriesPoint &point);
    void Clear();
    int Count() const { return static_cast<int>(m_points.size()); }
    const TSeriesPoint &At(int index) const { return m_points[index]; }
    const QList<TSeriesPoint> &Points() const { return m_points; }
    // Marks of deleted points: drawn hollow and grey, left out of reports.
    void SetDeleted(int index, bool deleted);
    bool IsDeleted(int index) const { return index >= 0 && index < m_deleted.size() && m_deleted[index]; }

Q_SIGNALS:
    void Changed();

private:
    QList<TSeriesPoint> m_points;
    // As long as m_points once a mark is deleted; empty while none is.
    QList<bool> m_deleted;
};
