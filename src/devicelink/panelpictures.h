#pragma once

#include "devicelink/portmanagerdisplay.h"

#include <QColor>
#include <QImage>

// The status panel's pictures, drawn rather than loaded: the transmit and receive arrows (15 x 18, the
// arrow filled with the colour asked for, outlined in black on silver) and the three connection
// pictures (50 x 40, a cable plug at a wall socket on silver).
class TPanelPictures
{
public:
    static constexpr QSize ArrowSize{15, 18};
    static constexpr QSize ConnectionSize{50, 40};

    // Points left, towards the device side of the panel.
    static QImage TransmitArrow(const QColor &fill);
    // Points right.
    static QImage ReceiveArrow(const QColor &fill);
    // Plugged in and green, pulled out and red, or plugged in and grey; None gives plain silver.
    static QImage Connection(TPortManagerDisplay::TConnectionPicture picture);
};
