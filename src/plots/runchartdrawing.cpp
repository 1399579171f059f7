#include "plots/runchartdrawing.h"

#include "common/coordinatetext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor Frame(160, 160, 160);
const QColor Limit(200, 0, 0);
const QColor NominalColour(110, 110, 110);
const QColor Run(0, 0, 160);
const QColor Inside(0, 140, 0);

} // namespace

double TRunChartDrawing::PartX(const QRectF &plot, qsizetype index, qsizetype count)
{
    return plot.left() + plot.width() * (index + 0.5) / std::max<qsizetype>(count, 1);
}

void TRunChartDrawing::Paint(QPainter &painter, const QRectF &area, double pixel,
                             const QString &emptyText) const
{
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(QPen(Frame, pixel));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const double gap = 4 * pixel;
    painter.setPen(Qt::black);
    if (m_series.title.isEmpty()) {
        painter.drawText(area.adjusted(gap, gap, -gap, -gap), Qt::AlignCenter | Qt::TextWordWrap, emptyText);
        painter.restore();
        return;
    }
    const double textWidth = area.width() - 2 * gap;
    painter.drawText(QRectF(area.left() + gap, area.top() + pixel, textWidth, line),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(m_series.title, Qt::ElideRight, textWidth));

    // The value range takes in the limits, the nominal and every value, with a margin.
    const auto &values = m_series.values;
    double low = std::min(m_series.lowerLimit.value_or(m_series.nominal), m_series.nominal);
    double high = std::max(m_series.upperLimit, m_series.nominal);
    bool anyValue = false;
    for (const auto &value : values)
        if (value) {
            low = std::min(low, *value);
            high = std::max(high, *value);
            anyValue = true;
        }
    if (high - low < 1e-9) {
        low -= 0.001;
        high += 0.001;
    }
    const double margin = (high - low) * 0.1;
    low -= margin;
    high += margin;

    struct TLevel
    {
        double value;
        QColor colour;
        Qt::PenStyle style;
    };
    QList<TLevel> levels{{m_series.upperLimit, Limit, Qt::DashLine}};
    if (m_series.lowerLimit)
        levels.append({*m_series.lowerLimit, Limit, Qt::DashLine});
    levels.append({m_series.nominal, NominalColour, Qt::DotLine});
    double labelWidth = 0.0;
    for (const TLevel &level : levels)
        labelWidth = std::max(labelWidth,
                              metrics.horizontalAdvance(FormatCoordinate(static_cast<float>(level.value))));
    labelWidth += 2 * gap;

    // Below the plot, a row for the parts' numbers.
    const QRectF plot(area.left() + labelWidth, area.top() + line + 2 * gap,
                      area.width() - labelWidth - 3 * gap, area.height() - 2 * line - 4 * gap);
    if (plot.width() < 4 * gap || plot.height() < line) {
        painter.restore();
        return;
    }
    auto y = [&](double value) { return plot.bottom() - (value - low) / (high - low) * plot.height(); };
    const qsizetype count = values.size();
    auto x = [&](qsizetype index) { return PartX(plot, index, count); };

    // Limits first, then the nominal; a label that would run into one already written is left out.
    QList<QRectF> labels;
    for (const TLevel &level : levels) {
        painter.setPen(QPen(level.colour, pixel, level.style));
        painter.drawLine(QPointF(plot.left(), y(level.value)), QPointF(plot.right(), y(level.value)));
        const QRectF label(area.left() + gap, y(level.value) - line / 2, labelWidth - 2 * gap, line);
        if (std::any_of(labels.begin(), labels.end(),
                        [&](const QRectF &other) { return other.intersects(label); }))
            continue;
        labels.append(label);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter,
                         FormatCoordinate(static_cast<float>(level.value)));
    }

    // The parts' numbers: the first, then every step-th, the step a round number wide enough for the
    // widest of them.
    painter.setPen(Qt::black);
    const double slot = plot.width() / std::max<qsizetype>(count, 1);
    const double room = metrics.horizontalAdvance(QString::number(count)) + 2 * gap;
    qsizetype step = 1;
    for (qsizetype base = 1; step * slot < room; base *= 10)
        for (qsizetype factor : {1, 2, 5})
            if (step * slot < room)
                step = base * factor;
    for (qsizetype index = 0; index < count; ++index) {
        if (index > 0 && (index + 1) % step != 0)
            continue;
        const QString number = QString::number(index + 1);
        const double width = metrics.horizontalAdvance(number);
        // The first step-th may stand too near the first: it gives way.
        if (index > 0 && index + 1 == step && (step - 1) * slot < room)
            continue;
        painter.drawText(QRectF(x(index) - width / 2, plot.bottom() + gap, width, line), Qt::AlignCenter,
                         number);
    }

    if (!anyValue) {
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("No part has a value yet"));
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Run, 1.5 * pixel));
    QPainterPath path;
    bool drawing = false;
    for (qsizetype index = 0; index < count; ++index) {
        if (!values[index]) {
            drawing = false;
            continue;
        }
        const QPointF point(x(index), y(*values[index]));
        if (drawing)
            path.lineTo(point);
        else
            path.moveTo(point);
        drawing = true;
    }
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    for (qsizetype index = 0; index < count; ++index) {
        if (!values[index])
            continue;
        const double value = *values[index];
        // As the characteristics are judged: a value on a limit is inside.
        const bool inside = value <= m_series.upperLimit + 1e-9 &&
                            (!m_series.lowerLimit || value >= *m_series.lowerLimit - 1e-9);
        painter.setBrush(inside ? Inside : Limit);
        painter.drawEllipse(QPointF(x(index), y(value)), 3 * pixel, 3 * pixel);
    }
    painter.restore();
}
