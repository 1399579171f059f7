#include "app/runchart.h"

#include <QPainter>

TRunChart::TRunChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnRunChart"));
    setMinimumHeight(110);
    setToolTip(tr("The selected characteristic over the parts of the results history: green inside its "
                  "limits (dashed), red outside; the nominal dotted"));
}

void TRunChart::SetSeries(TRunChartDrawing::TSeries series)
{
    m_drawing.SetSeries(std::move(series));
    update();
}

void TRunChart::Clear()
{
    SetSeries({});
}

void TRunChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_drawing.Paint(painter, rect(), 1.0, tr("Select a characteristic in the table: its parts show here"));
}
