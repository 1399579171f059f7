#include "app/heartbeatbutton.h"

#include <QDataStream>
#include <QEvent>
#include <QIODevice>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace {

// Enough for the two caption colours in each state the operator can put the button in.
constexpr std::size_t MostLooks = 8;

QByteArray LookKey(const QStyleOptionButton &option, qreal pixelRatio)
{
    QByteArray key;
    QDataStream stream(&key, QIODevice::WriteOnly);
    stream << quint32(option.state) << quint32(option.features) << option.text << option.icon.cacheKey()
           << option.iconSize << option.rect << pixelRatio;
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        stream << option.palette.color(QPalette::ColorRole(role)).rgba();
    return key;
}

} // namespace

THeartbeatButton::THeartbeatButton(QWidget *parent) : QPushButton(parent) {}

void THeartbeatButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
        m_looks.clear();
        break;
    default:
        break;
    }
    QPushButton::changeEvent(event);
}

void THeartbeatButton::resizeEvent(QResizeEvent *event)
{
    m_looks.clear();
    QPushButton::resizeEvent(event);
}

void THeartbeatButton::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const qreal pixelRatio = devicePixelRatioF();
    const QByteArray key = LookKey(option, pixelRatio);
    auto look = std::find_if(m_looks.begin(), m_looks.end(), [&](const TLook &l) { return l.key == key; });
    if (look == m_looks.end()) {
        QPixmap picture((QSizeF(size()) * pixelRatio).toSize());
        picture.setDevicePixelRatio(pixelRatio);
        picture.fill(Qt::transparent);
        {
            QStylePainter painter(&picture, this);
            painter.drawControl(QStyle::CE_PushButton, option);
        }
        if (m_looks.size() >= MostLooks)
            m_looks.erase(m_looks.begin());
        m_looks.push_back({key, picture});
        look = m_looks.end() - 1;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, look->picture);
}
