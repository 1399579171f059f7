#include "app/heartbeatpainter.h"

#include <QEvent>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

THeartbeatPainter::THeartbeatPainter(QPushButton &button)
    : QObject(&button), m_button(button), m_colour(button.palette().color(QPalette::ButtonText)),
      m_base(button.palette())
{
    m_button.installEventFilter(this);
}

void THeartbeatPainter::SetTextColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    m_button.update();
}

const QPalette &THeartbeatPainter::PaletteFor(const QColor &colour)
{
    // A palette changed from outside (a theme) starts the set afresh.
    if (m_button.palette() != m_base || m_button.palette().resolveMask() != m_base.resolveMask()) {
        m_base = m_button.palette();
        m_palettes.clear();
    }
    const auto found = std::find_if(m_palettes.begin(), m_palettes.end(), [&](const QPalette &palette) {
        return palette.color(QPalette::ButtonText) == colour;
    });
    if (found != m_palettes.end())
        return *found;
    QPalette palette = m_base;
    palette.setColor(QPalette::ButtonText, colour);
    m_palettes.push_back(palette);
    return m_palettes.back();
}

bool THeartbeatPainter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_button || event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    // What the button itself would draw, but for the palette.
    QStyleOptionButton option;
    option.initFrom(&m_button);
    option.palette = PaletteFor(m_colour);
    option.features = QStyleOptionButton::None;
    if (m_button.isFlat())
        option.features |= QStyleOptionButton::Flat;
    if (m_button.menu())
        option.features |= QStyleOptionButton::HasMenu;
    if (m_button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (m_button.isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (m_button.isDown())
        option.state |= QStyle::State_Sunken;
    if (m_button.isChecked() && !m_button.isDown())
        option.state |= QStyle::State_On;
    if (!m_button.isFlat() && !m_button.isDown())
        option.state |= QStyle::State_Raised;
    option.text = m_button.text();
    option.icon = m_button.icon();
    option.iconSize = m_button.iconSize();
    QStylePainter painter(&m_button);
    painter.drawControl(QStyle::CE_PushButton, option);
    return true;
}
