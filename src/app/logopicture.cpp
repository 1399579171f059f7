#include "app/logopicture.h"

#include <QFont>
#include <QPainter>

QPixmap LogoPicture()
{
    QPixmap picture(196, 188);
    picture.fill(QColor(255, 251, 240));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF origin(70, 130);
    painter.setPen(QPen(QColor(0, 0, 160), 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin, QPointF(180, 130));
    painter.drawLine(origin, QPointF(70, 20));
    painter.drawLine(origin, QPointF(16, 176));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 0));
    painter.drawEllipse(QPointF(140, 70), 22, 22);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(34);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 160));
    painter.drawText(QRectF(96, 136, 100, 48), Qt::AlignCenter, QStringLiteral("Q"));
    return picture;
}
