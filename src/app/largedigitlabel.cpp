#include "app/largedigitlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOption>
#include <cmath>

TLargeDigitLabel::TLargeDigitLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TLargeDigitLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        m_glyphs.clear();
    QLabel::changeEvent(event);
}

const QPixmap &TLargeDigitLabel::GlyphPicture(QChar c, qreal ratio)
{
    QStyleOption option;
    option.initFrom(this);
    const QColor colour = option.palette.color(foregroundRole());
    const QString look = QStringLiteral("%1/%2/%3").arg(font().key()).arg(colour.rgba()).arg(ratio);
    if (look != m_look) {
        m_glyphs.clear();
        m_look = look;
    }
    auto found = m_glyphs.constFind(c);
    if (found != m_glyphs.constEnd())
        return *found;
    const QFontMetricsF metrics(font());
    const QSizeF size(std::ceil(metrics.horizontalAdvance(c)), std::ceil(metrics.height()));
    QPixmap picture((size * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    painter.setPen(colour);
    painter.drawText(QPointF(0, metrics.ascent()), QString(c));
    painter.end();
    ++m_glyphPictures;
    return *m_glyphs.insert(c, picture);
}

void TLargeDigitLabel::paintEvent(QPaintEvent *)
{
    const QString shown = text();
    if (shown.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QFontMetricsF metrics(font());
    qreal width = 0;
    for (const QChar c : shown)
        width += metrics.horizontalAdvance(c);
    const QRect area = contentsRect();
    qreal left = area.right() + 1 - width;
    if (alignment() & Qt::AlignHCenter)
        left = area.left() + (area.width() - width) / 2;
    else if (alignment() & Qt::AlignLeft)
        left = area.left();
    const qreal top = std::round(area.top() + (area.height() - metrics.height()) / 2);
    QPainter painter(this);
    for (const QChar c : shown) {
        painter.drawPixmap(QPointF(std::round(left), top), GlyphPicture(c, ratio));
        left += metrics.horizontalAdvance(c);
    }
}
