#include "devicelink/panelpictures.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor Silver(192, 192, 192);

QImage Arrow(const QColor &fill, bool pointsLeft)
{
    QImage image(TPanelPictures::ArrowSize, QImage::Format_RGB32);
    image.fill(Silver);
    QPainter painter(&image);
    // A head of 7 pixels and a shaft 6 pixels high, drawn pointing right and mirrored for the left.
    QPolygon shape({{1, 6}, {7, 6}, {7, 1}, {13, 9}, {7, 16}, {7, 12}, {1, 12}});
    if (pointsLeft) {
        for (QPoint &point : shape)
            point.setX(TPanelPictures::ArrowSize.width() - 1 - point.x());
    }
    painter.setPen(Qt::black);
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    return image;
}

} // namespace

QImage TPanelPictures::TransmitArrow(const QColor &fill)
{
    return Arrow(fill, true);
}

QImage TPanelPictures::ReceiveArrow(const QColor &fill)
{
    return Arrow(fill, false);
}

QImage TPanelPictures::Connection(TPortManagerDisplay::TConnectionPicture picture)
{
    using TPicture = TPortManagerDisplay::TConnectionPicture;
    QImage image(ConnectionSize, QImage::Format_RGB32);
    image.fill(Silver);
    if (picture == TPicture::None)
        return image;

    QPainter painter(&image);
    painter.setPen(Qt::black);

    // The wall socket on the right: a plate with two holes.
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(38, 6, 10, 28);
    painter.setBrush(Qt::black);
    painter.drawRect(41, 14, 4, 3);
    painter.drawRect(41, 23, 4, 3);

    const bool pluggedIn = picture != TPicture::NoConnection;
    const QColor body = picture == TPicture::Connection     ? QColor(0, 128, 0)
                        : picture == TPicture::NoConnection ? QColor(255, 0, 0)
                                                            : QColor(128, 128, 128);
    // The plug: its pins reach into the socket when plugged in, and stand clear of it when not.
    const int plugRight = pluggedIn ? 37 : 28;
    painter.setBrush(body);
    painter.drawRect(plugRight - 12, 10, 10, 20);
    painter.setBrush(QColor(128, 128, 0));
    painter.drawRect(plugRight - 2, 14, pluggedIn ? 6 : 4, 3);
    painter.drawRect(plugRight - 2, 23, pluggedIn ? 6 : 4, 3);

    // The cable from the left edge into the back of the plug.
    QPen cable(Qt::black, 3);
    painter.setPen(cable);
    painter.drawLine(1, 30, plugRight - 18, 20);
    painter.drawLine(plugRight - 18, 20, plugRight - 12, 20);
    return image;
}
