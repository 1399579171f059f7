#include "app/statusline.h"

#include <QLabel>

namespace {

const QColor TroubleRed(255, 0, 0);
const QColor PlainBlue(0, 0, 160);

} // namespace

TStatusLine::TStatusLine(QLabel *strip) : m_strip(strip)
{
    // The strip elides its text itself; a label would otherwise grow the window's minimum size.
    if (m_strip)
        m_strip->setTextFormat(Qt::PlainText);
}

void TStatusLine::ShowMessage(const QString &text, const QString &detail)
{
    m_message = text;
    m_messageDetail = detail;
    Refresh();
}

void TStatusLine::ShowTrouble(const QString &text, const QString &detail)
{
    m_trouble = text;
    m_troubleDetail = detail;
    Refresh();
}

void TStatusLine::ClearTrouble()
{
    if (m_trouble.isEmpty())
        return;
    m_trouble.clear();
    m_troubleDetail.clear();
    Refresh();
}

void TStatusLine::SetPortInUse(const QString &text)
{
    if (text == m_portInUse)
        return;
    m_portInUse = text;
    Refresh();
}

QString TStatusLine::Text() const
{
    if (!m_trouble.isEmpty())
        return m_trouble;
    if (m_portInUse.isEmpty())
        return m_message;
    const QString port = QStringLiteral("On line: ") + m_portInUse;
    return m_message.isEmpty() ? port : m_message + QStringLiteral("   |   ") + port;
}

QString TStatusLine::ToolTip() const
{
    const QString text = Text();
    const QString &detail = m_trouble.isEmpty() ? m_messageDetail : m_troubleDetail;
    if (detail.isEmpty())
        return text;
    return text + QLatin1Char('\n') + detail;
}

void TStatusLine::Refresh()
{
    if (!m_strip)
        return;
    const QString text = Text();
    // Each reply refreshes the line; only what changed is handed to the strip.
    const QString shown = m_strip->fontMetrics().elidedText(text, Qt::ElideRight, m_strip->width());
    if (m_strip->text() != shown)
        m_strip->setText(shown);
    const QString tip = ToolTip();
    if (m_strip->toolTip() != tip)
        m_strip->setToolTip(tip);
    const QColor colour = IsTrouble() ? TroubleRed : PlainBlue;
    if (m_strip->palette().color(QPalette::WindowText) != colour) {
        QPalette palette = m_strip->palette();
        palette.setColor(QPalette::WindowText, colour);
        m_strip->setPalette(palette);
    }
}
