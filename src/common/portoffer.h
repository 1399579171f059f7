#pragma once

#include <QList>
#include <QString>
#include <optional>

// A serial device the system has (a USB adapter at /dev/ttyUSB0, say), as the port chooser lists it.
struct TSerialDevice
{
    // The device file: /dev/ttyUSB0.
    QString Location;
    // A name that stays with the device across replugs (/dev/serial/by-id/usb-...); empty when the
    // system gives none.
    QString StablePath;
    QString Description;
    QString Manufacturer;
    QString SerialNumber;

    friend bool operator==(const TSerialDevice &, const TSerialDevice &) = default;
};

// A COMn link of the station and the device it leads to (empty when it leads nowhere).
struct TPortLink
{
    quint16 Number = 0;
    QString LeadsTo;

    friend bool operator==(const TPortLink &, const TPortLink &) = default;
};

// What the "Select Port" dialog offers: the station's existing COMn links and the system's devices.
struct TPortOffer
{
    QList<TPortLink> Links;
    QList<TSerialDevice> Devices;
};

// The operator's choice: one existing link, or one device (an index into TPortOffer::Devices) to be
// linked; Remember asks for the port number to be written to the settings file.
struct TPortChoice
{
    std::optional<quint16> Link;
    std::optional<int> Device;
    bool Remember = false;
};
