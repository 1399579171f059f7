#include "plots/planechartview.h"

#include "plots/axislabelstep.h"
#include "plots/nearestmark.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

namespace {

// A mark counts as hit within this many pixels beyond its own half size.
constexpr double PickSlack = 3.0;

} // namespace

TPlaneChartView::TPlaneChartView(const QString &title, const QString &horizontalTitle,
                                 const QString &verticalTitle, double horizontalLeastStep,
                                 double verticalLeastStep, QWidget *parent)
    : QChartView(new QChart, parent), m_horizontal(new QValueAxis(this)), m_vertical(new QValueAxis(this)),
      m_horizontalLeastStep(horizontalLeastStep), m_verticalLeastStep(verticalLeastStep)
{
    QChart *plot = chart();
    // The chart sits in the view's scene, outside the widget tree; as a child of the view it (and so
    // every series it owns) can be found by name like the other controls.
    plot->setParent(this);
    plot->setObjectName(QStringLiteral("%1 chart").arg(title));
    plot->setTitle(title);
    plot->legend()->hide();
    m_horizontal->setTitleText(horizontalTitle);
    m_vertical->setTitleText(verticalTitle);
    for (QValueAxis *axis : {m_horizontal, m_vertical}) {
        axis->setRange(-50.0, 50.0);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setMinorTickCount(0);
        axis->setGridLinePen(QPen(QColor(192, 192, 192), 1, Qt::SolidLine));
        connect(axis, &QValueAxis::rangeChanged, this, [this] { UpdateLabelSteps(); });
    }
    plot->addAxis(m_horizontal, Qt::AlignBottom);
    plot->addAxis(m_vertical, Qt::AlignLeft);
    connect(plot, &QChart::plotAreaChanged, this, [this] { UpdateLabelSteps(); });
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    UpdateLabelSteps();
}

void TPlaneChartView::UpdateLabelSteps()
{
    const QRectF area = chart()->plotArea();
    const QFontMetricsF metrics(m_horizontal->labelsFont());
    const auto apply = [](QValueAxis *axis, double pixels, double labelPixels, double leastStep) {
        const double step = AxisLabelStep(axis->max() - axis->min(), pixels, labelPixels, leastStep);
        const QString format = QStringLiteral("%.%1f").arg(AxisLabelDecimals(step));
        if (axis->tickInterval() != step)
            axis->setTickInterval(step);
        if (axis->labelFormat() != format)
            axis->setLabelFormat(format);
    };
    // Room for a label such as "-100" plus a gap, across; a line of text plus a gap, upwards.
    apply(m_horizontal, area.width(), metrics.horizontalAdvance(QStringLiteral("-100.0")) + 8.0,
          m_horizontalLeastStep);
    apply(m_vertical, area.height(), metrics.height() * 1.6, m_verticalLeastStep);
}

QPointF TPlaneChartView::MarkPosition(QPointF value) const
{
    const QPointF inChart = chart()->mapToPosition(value, m_pickSeries);
    return mapFromScene(chart()->mapToScene(inChart));
}

int TPlaneChartView::MarkAt(QPointF position) const
{
    if (!m_pickSeries)
        return -1;
    if (m_beforeUse)
        m_beforeUse();
    const QPointF inChart = chart()->mapFromScene(mapToScene(position.toPoint()));
    const QRectF area = chart()->plotArea();
    if (!area.adjusted(-PickSlack, -PickSlack, PickSlack, PickSlack).contains(inChart))
        return -1;
    const double reach = m_pickSeries->markerSize() / 2.0 + PickSlack;
    const QList<QPointF> points = m_pickSeries->points();
    auto markOf = [&](int i) -> std::optional<QPointF> {
        const QPointF mark = chart()->mapToPosition(points[i], m_pickSeries);
        // A mark outside the axis range is not drawn, so it cannot be hit.
        if (!area.contains(mark))
            return std::nullopt;
        return mark;
    };
    return NearestMark(static_cast<int>(points.size()), markOf, inChart, reach);
}

void TPlaneChartView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = MarkAt(event->position());
        if (index >= 0) {
            event->accept();
            Q_EMIT MarkClicked(index);
            return;
        }
    }
    QChartView::mousePressEvent(event);
}

void TPlaneChartView::paintEvent(QPaintEvent *event)
{
    if (m_beforeUse)
        m_beforeUse();
    QChartView::paintEvent(event);
}

void TPlaneChartView::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    // The plot keeps 5 per cent of the width free on the right; the other sides sit close.
    chart()->setMargins(QMargins(4, 0, width() * 5 / 100, 4));
}
