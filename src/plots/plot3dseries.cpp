#include "plots/plot3dseries.h"

TPlot3DSeries::TPlot3DSeries(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

void TPlot3DSeries::Append(const TSeriesPoint &point)
{
    m_points.append(point);
    Q_EMIT Changed();
}

void TPlot3DSeries::Clear()
{
    if (m_points.isEmpty())
        return;
    m_points.clear();
    Q_EMIT Changed();
}
