#include "app/readoutlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace {

bool IsPlainNumber(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
               c == QLatin1Char('+') || c == QLatin1Char('.') || c == QLatin1Char(' ');
    });
}

} // namespace

TReadoutLabel::TReadoutLabel(QWidget *parent) : QLabel(parent) {}

void TReadoutLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_rawFont = QRawFont();
    QLabel::changeEvent(event);
}

void TReadoutLabel::paintEvent(QPaintEvent *event)
{
    if (frameWidth() == 0 && margin() == 0 && indent() <= 0 && textFormat() != Qt::RichText &&
        IsPlainNumber(text())) {
        QPainter painter(this);
        if (DrawNumber(painter))
            return;
    }
    QLabel::paintEvent(event);
}

bool TReadoutLabel::DrawNumber(QPainter &painter)
{
    if (!m_rawFont.isValid())
        m_rawFont = QRawFont::fromFont(font());
    const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(text());
    if (glyphs.size() != text().size() || glyphs.contains(0))
        return false;
    const QList<QPointF> advances = m_rawFont.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    qreal width = 0;
    for (const QPointF &advance : advances) {
        positions.append(QPointF(width, 0));
        width += advance.x();
    }

    // Where the label puts a single line: aligned in the contents, the line's height centred on it.
    const QRect area = contentsRect();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal left = area.left();
    if (align & Qt::AlignRight)
        left = area.right() + 1 - width;
    else if (align & Qt::AlignHCenter)
        left = area.left() + (area.width() - width) / 2;
    const QFontMetricsF metrics(font());
    qreal top = area.top() + (area.height() - metrics.height()) / 2;
    if (align & Qt::AlignTop)
        top = area.top();
    else if (align & Qt::AlignBottom)
        top = area.bottom() + 1 - metrics.height();
    const qreal baseline = qRound(top + metrics.ascent());

    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    // The colour group as the label's own painting takes it: disabled, or the window's activity.
    QStyleOption option;
    option.initFrom(this);
    painter.setPen(option.palette.color(foregroundRole()));
    painter.drawGlyphRun(QPointF(left, baseline), run);
    return true;
}
