#pragma once

#include "common/portoffer.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class TOperatorDialogs;

// Setting up the serial port from the program. When port number 0 is opened the operator is offered
// the station's existing COMn links (with where each leads) and the system's serial devices; a
// device chosen is given a COMn link (the configured number, or the lowest free one from 1 to 50) to
// its stable /dev/serial/by-id name where it has one, so that a replug under another ttyUSB name
// still finds it. "Use this port from now on" hands the number to Remember, which writes the
// settings file; otherwise the choice holds for this run only.
class TPortSetUp
{
public:
    using TDeviceLister = std::function<QList<TSerialDevice>()>;
    // Writes the port number to the settings file; the error text for the operator on failure.
    using TRemember = std::function<std::optional<QString>(quint16 number)>;

    static constexpr quint16 HighestNumber = 50;

    // devices lists the system's serial devices; without one, SystemDevices.
    explicit TPortSetUp(TOperatorDialogs &dialogs, TDeviceLister devices = {});

    void SetRemember(TRemember remember) { m_remember = std::move(remember); }
    // The Port Number of the settings file; a device is linked under it unless it is 0.
    void SetConfiguredNumber(quint16 number) { m_configured = number; }

    // The chooser of the serial layer: ports are the existing COMn links (perhaps none). Returns the
    // port number to open; no value when the operator cancels. Throws TSerialError when there is
    // nothing to offer or the link cannot be made.
    std::optional<quint16> Choose(const QList<quint16> &ports);

    // The serial devices of the system (QSerialPortInfo), each with its /dev/serial/by-id name.
    static QList<TSerialDevice> SystemDevices();
    // The number a new link takes: configured unless 0 or already leading to a device, else the
    // lowest of 1 to 50 without a link; 0 when none is free.
    static quint16 NumberForNewLink(quint16 configured, const QList<TPortLink> &links);
    // "COM5 -> /dev/serial/by-id/usb-FTDI... (/dev/ttyUSB0)": a link and where it leads.
    static QString LinkText(quint16 number);
    // One line for a device: "USB device /dev/ttyUSB0: FT232R USB UART, FTDI, A50285BI".
    static QString DeviceText(const TSerialDevice &device);

private:
    TOperatorDialogs &m_dialogs;
    TDeviceLister m_devices;
    TRemember m_remember;
    quint16 m_configured = 0;
};
