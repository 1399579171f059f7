#include "app/runchart.h"

#include "common/coordinatetext.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

TRunChart::TRunChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnRunChart"));
    setMinimumHeight(130);
    setToolTip(tr("The selected characteristic over the parts of the history, with its tolerance limits"));
}

void TRunChart::SetSeries(const QString &title, const QList<std::optional<double>> &values, double nominal,
                          double upper, std::optional<double> lower)
{
    m_title = title;
    m_values = values;
    m_nominal = nominal;
    m_upper = upper;
    m_lower = lower;
    update();
}

void TRunChart::Clear()
{
    m_title.clear();
    m_values.clear();
    update();
}

void TRunChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    painter.setPen(Qt::black);
    if (m_title.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("Select a characteristic: its parts show here"));
        return;
    }
    painter.drawText(QRect(6, 2, width() - 12, line), Qt::AlignLeft | Qt::AlignVCenter, m_title);

    // The value range takes in the limits and every value, with a margin.
    double low = m_lower.value_or(m_nominal), high = m_upper;
    for (const auto &value : m_values)
        if (value) {
            low = std::min(low, *value);
            high = std::max(high, *value);
        }
    if (high - low < 1e-9) {
        low -= 0.001;
        high += 0.001;
    }
    const double margin = (high - low) * 0.1;
    low -= margin;
    high += margin;
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("-0000.000")) + 8;
    const QRectF plot(labelWidth, line + 6, width() - labelWidth - 10, height() - line - 12);
    auto y = [&](double value) { return plot.bottom() - (value - low) / (high - low) * plot.height(); };
    const qsizetype count = std::max<qsizetype>(m_values.size(), 2);
    auto x = [&](qsizetype index) { return plot.left() + plot.width() * index / double(count - 1); };

    auto level = [&](double value, const QColor &colour, Qt::PenStyle style) {
        painter.setPen(QPen(colour, 1, style));
        painter.drawLine(QPointF(plot.left(), y(value)), QPointF(plot.right(), y(value)));
        painter.drawText(QRectF(0, y(value) - line / 2.0, labelWidth - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                         FormatCoordinate(static_cast<float>(value)));
    };
    const QColor limit(200, 0, 0);
    level(m_upper, limit, Qt::DashLine);
    if (m_lower)
        level(*m_lower, limit, Qt::DashLine);
    level(m_nominal, QColor(110, 110, 110), Qt::DotLine);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 1.5));
    QPainterPath path;
    bool drawing = false;
    for (qsizetype index = 0; index < m_values.size(); ++index) {
        if (!m_values[index]) {
            drawing = false;
            continue;
        }
        const QPointF point(x(index), y(*m_values[index]));
        if (drawing)
            path.lineTo(point);
        else
            path.moveTo(point);
        drawing = true;
    }
    painter.drawPath(path);
    for (qsizetype index = 0; index < m_values.size(); ++index) {
        if (!m_values[index])
            continue;
        const double value = *m_values[index];
        const bool inside = value <= m_upper + 1e-9 && (!m_lower || value >= *m_lower - 1e-9);
        painter.setBrush(inside ? QColor(0, 140, 0) : limit);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(x(index), y(value)), 3.0, 3.0);
    }
}
