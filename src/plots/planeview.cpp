#include "plots/planeview.h"

#include "plots/axislabelstep.h"
#include "plots/viewseries.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int BorderWidth = 2;
constexpr double BevelWidth = 2.0;
// Between the bevel and the title, labels and axis titles.
constexpr double Padding = 4.0;
constexpr double RightMargin = 0.05;
constexpr double TickLength = 4.0;
constexpr double LabelGap = 2.0;
// The recorded points' star, a little larger than its nominal size 3 so that its points show.
constexpr double StarHalfSize = 5.5;
constexpr double LineWidth = 3.0;

const QColor GridColour(192, 192, 192);
const QColor PlotEdgeColour(128, 128, 128);
// The X-Y view's recorded points take the first of the engine's series colours.
const QColor FirstSeriesColour(0x20, 0x9f, 0xdf);

} // namespace

TPlaneView::TPlaneView(const TLook &look, const std::array<QString, 4> &seriesNames, QWidget *parent)
    : TViewWidget(look.title, seriesNames, parent), m_look(look)
{}

void TPlaneView::SetAxisMaximum(TAxis axis, double value)
{
    if (axis == TAxis::Depth)
        return;
    TRange &range = Range(axis);
    range.maximum = value;
    range.minimum = std::min(range.minimum, value);
    RangesChanged();
}

void TPlaneView::SetAxisMinimum(TAxis axis, double value)
{
    if (axis == TAxis::Depth)
        return;
    TRange &range = Range(axis);
    range.minimum = value;
    range.maximum = std::max(range.maximum, value);
    RangesChanged();
}

double TPlaneView::AxisMaximum(TAxis axis) const
{
    return axis == TAxis::Bottom ? m_horizontal.maximum : axis == TAxis::Left ? m_vertical.maximum : 0.0;
}

double TPlaneView::AxisMinimum(TAxis axis) const
{
    return axis == TAxis::Bottom ? m_horizontal.minimum : axis == TAxis::Left ? m_vertical.minimum : 0.0;
}

void TPlaneView::RangesChanged()
{
    m_layout.reset();
    InvalidatePicture();
}

void TPlaneView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        RangesChanged();
    TViewWidget::changeEvent(event);
}

void TPlaneView::resizeEvent(QResizeEvent *event)
{
    m_layout.reset();
    TViewWidget::resizeEvent(event);
}

const TPlaneView::TLayout &TPlaneView::Layout() const
{
    if (m_layout)
        return *m_layout;
    const QFontMetricsF metrics(font());
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 1.0);
    const double titleHeight = 4.0 + QFontMetricsF(titleFont).height() + 4.0;

    const double inset = BorderWidth + BevelWidth + Padding;
    QRectF chart = FrameRect().adjusted(inset, inset, -inset, -inset);
    chart.setRight(std::max(chart.left(), FrameRect().right() - width() * RightMargin));

    TLayout layout;
    const double top = chart.top() + titleHeight + metrics.height() / 2.0;
    const double bottom =
        chart.bottom() - TickLength - LabelGap - metrics.height() - LabelGap - metrics.height();
    const double plotHeight = std::max(bottom - top, 1.0);
    layout.verticalStep = AxisLabelStep(m_vertical.maximum - m_vertical.minimum, plotHeight,
                                        metrics.height() * 1.6, m_look.verticalLeastStep);
    // The vertical labels take the room of the widest of them, and at least that of "-100", so that
    // the plot keeps its place while the view is panned or zoomed and the marks follow the mouse.
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("-100"));
    const int verticalDecimals = AxisLabelDecimals(layout.verticalStep);
    for (const double value : AxisTickValues(m_vertical.minimum, m_vertical.maximum, layout.verticalStep))
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(AxisLabelText(value, verticalDecimals)));
    const double left = chart.left() + metrics.height() + LabelGap * 2 + labelWidth + LabelGap + TickLength;
    const double plotWidth = std::max(chart.right() - left, 1.0);
    layout.plot = QRectF(left, top, plotWidth, plotHeight);
    layout.horizontalStep =
        AxisLabelStep(m_horizontal.maximum - m_horizontal.minimum, plotWidth,
                      metrics.horizontalAdvance(QStringLiteral("-100.0")) + 8.0, m_look.horizontalLeastStep);
    m_layout = layout;
    return *m_layout;
}

QPointF TPlaneView::mapToPosition(QPointF value) const
{
    const QRectF plot = Layout().plot;
    const double across = m_horizontal.maximum - m_horizontal.minimum;
    const double up = m_vertical.maximum - m_vertical.minimum;
    const double x = across > 0.0 ? (value.x() - m_horizontal.minimum) / across : 0.5;
    const double y = up > 0.0 ? (value.y() - m_vertical.minimum) / up : 0.5;
    return {plot.left() + x * plot.width(), plot.bottom() - y * plot.height()};
}

std::optional<QPointF> TPlaneView::MarkPosition(const TSeriesPoint &point) const
{
    // A point outside the ranges is not drawn, so it cannot be picked either.
    const double slackAcross = 1e-9 * std::max(1.0, m_horizontal.maximum - m_horizontal.minimum);
    const double slackUp = 1e-9 * std::max(1.0, m_vertical.maximum - m_vertical.minimum);
    if (point.horizontal < m_horizontal.minimum - slackAcross ||
        point.horizontal > m_horizontal.maximum + slackAcross ||
        point.vertical < m_vertical.minimum - slackUp || point.vertical > m_vertical.maximum + slackUp)
        return std::nullopt;
    return mapToPosition({point.horizontal, point.vertical});
}

std::optional<QPointF> TPlaneView::PanValues(QPointF pixels) const
{
    // The content follows the mouse, so the ranges move against the drag; the vertical axis rises
    // upwards.
    const QRectF plot = PlotArea();
    if (plot.width() <= 0.0 || plot.height() <= 0.0)
        return std::nullopt;
    return QPointF(-pixels.x() * (m_horizontal.maximum - m_horizontal.minimum) / plot.width(),
                   pixels.y() * (m_vertical.maximum - m_vertical.minimum) / plot.height());
}

void TPlaneView::PaintPicture(QPainter &painter) const
{
    const QRectF frame = FrameRect();
    QLinearGradient background(frame.bottomLeft(), frame.topRight());
    background.setColorAt(0.0, m_look.backgroundFrom);
    background.setColorAt(1.0, m_look.backgroundTo);
    const QRectF inside = PaintFrame(painter, BorderWidth, background);

    // A lowered bevel just inside the border: shade above and left, light below and right.
    const QRectF bevel = inside.adjusted(BevelWidth / 2, BevelWidth / 2, -BevelWidth / 2, -BevelWidth / 2);
    QLinearGradient shade(bevel.topLeft(), bevel.bottomRight());
    shade.setColorAt(0.0, QColor(128, 128, 128));
    shade.setColorAt(1.0, Qt::white);
    painter.setPen(QPen(QBrush(shade), BevelWidth));
    painter.drawRoundedRect(bevel, 8.0, 8.0);

    const double inset = BevelWidth + Padding;
    PaintTitle(painter, inside.adjusted(inset, inset, -inset, -inset));

    const TLayout &layout = Layout();
    PaintAxes(painter, layout);

    PaintRowSegments(painter, layout.plot);
    painter.save();
    painter.setClipRect(layout.plot.adjusted(-StarHalfSize, -StarHalfSize, StarHalfSize, StarHalfSize));
    painter.setPen(QPen(Qt::red, LineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const TRole role : {TRole::FirstLine, TRole::SecondLine}) {
        const TViewSeries *line = Series(role);
        if (line->Count() < 2)
            continue;
        QList<QPointF> places;
        for (const TSeriesPoint &point : line->Points())
            places.append(mapToPosition({point.horizontal, point.vertical}));
        painter.save();
        painter.setClipRect(layout.plot);
        painter.drawPolyline(places.constData(), int(places.size()));
        painter.restore();
    }
    PaintDeletedMarks(painter, TMarkShape::Star, StarHalfSize);
    PaintMarks(painter, Places(TRole::Points), TMarkShape::Star, StarHalfSize,
               m_look.starFill.isValid() ? m_look.starFill : FirstSeriesColour);
    painter.restore();
    PaintFeatureLayer(painter, layout.plot);
    PaintPointLabels(painter, layout.plot);
}

std::optional<QPointF> TPlaneView::LayerPlace(const TSeriesPoint &point) const
{
    return mapToPosition({point.horizontal, point.vertical});
}

void TPlaneView::PaintAxes(QPainter &painter, const TLayout &layout) const
{
    const QRectF plot = layout.plot;
    const QFontMetricsF metrics(painter.font());
    const int acrossDecimals = AxisLabelDecimals(layout.horizontalStep);
    const int upDecimals = AxisLabelDecimals(layout.verticalStep);
    const QList<double> across =
        AxisTickValues(m_horizontal.minimum, m_horizontal.maximum, layout.horizontalStep);
    const QList<double> up = AxisTickValues(m_vertical.minimum, m_vertical.maximum, layout.verticalStep);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(GridColour, 1));
    QList<QLineF> grid;
    for (const double value : across) {
        const double x = std::round(mapToPosition({value, 0.0}).x());
        grid.append(QLineF(x, plot.top(), x, plot.bottom()));
    }
    for (const double value : up) {
        const double y = std::round(mapToPosition({0.0, value}).y());
        grid.append(QLineF(plot.left(), y, plot.right(), y));
    }
    painter.drawLines(grid);
    painter.setPen(QPen(PlotEdgeColour, 1));
    painter.drawRect(plot);

    painter.setPen(Qt::black);
    const double labelHeight = metrics.height();
    for (const double value : across) {
        const double x = std::round(mapToPosition({value, 0.0}).x());
        painter.drawLine(QLineF(x, plot.bottom(), x, plot.bottom() + TickLength));
        const QString text = AxisLabelText(value, acrossDecimals);
        const double textWidth = metrics.horizontalAdvance(text) + 2.0;
        painter.drawText(
            QRectF(x - textWidth / 2, plot.bottom() + TickLength + LabelGap, textWidth, labelHeight),
            Qt::AlignCenter, text);
    }
    for (const double value : up) {
        const double y = std::round(mapToPosition({0.0, value}).y());
        painter.drawLine(QLineF(plot.left() - TickLength, y, plot.left(), y));
        const QString text = AxisLabelText(value, upDecimals);
        const double right = plot.left() - TickLength - LabelGap;
        painter.drawText(QRectF(right - 200.0, y - labelHeight / 2, 200.0, labelHeight),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }

    const double titleTop = plot.bottom() + TickLength + LabelGap + labelHeight + LabelGap;
    painter.drawText(QRectF(plot.left(), titleTop, plot.width(), labelHeight), Qt::AlignCenter,
                     m_look.horizontalTitle);
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("-100"));
    for (const double value : up)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(AxisLabelText(value, upDecimals)));
    const double titleCentre = plot.left() - TickLength - LabelGap - labelWidth - LabelGap - labelHeight / 2;
    painter.translate(titleCentre, plot.center().y());
    painter.rotate(-90.0);
    painter.drawText(QRectF(-plot.height() / 2, -labelHeight / 2, plot.height(), labelHeight),
                     Qt::AlignCenter, m_look.verticalTitle);
    painter.restore();
}
