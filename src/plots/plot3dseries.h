#pragma once

#include "plots/chartengine.h"

#include <QList>
#include <QObject>

// The points of one series of the 3D view, held as (horizontal, vertical, depth) in millimetres.
// It carries the series' name like the plane views' series do, and tells its view when to redraw.
class TPlot3DSeries : public QObject
{
    Q_OBJECT

public:
    TPlot3DSeries(const QString &name, QObject *parent);

    void Append(const TSeriesPoint &point);
    void Clear();
    int Count() const { return static_cast<int>(m_points.size()); }
    const TSeriesPoint &At(int index) const { return m_points[index]; }
    const QList<TSeriesPoint> &Points() const { return m_points; }

Q_SIGNALS:
    void Changed();

private:
    QList<TSeriesPoint> m_points;
};
