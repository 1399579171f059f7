#pragma once

#include "devicelink/serialportaccess.h"

#include <QList>
#include <QSerialPort>
#include <QString>
#include <optional>

// The serial line on QSerialPort. Port n is the device TPortDirectory gives for n. Every open is
// exclusive, with DTR and RTS raised, no flow control and 4096-byte buffers. Received data is announced
// from the UI thread's event loop.
class TQtSerialPortAccess : public TSerialPortAccess
{
public:
    // Asked, when port number 0 is opened, to pick one of the existing ports (rising order, perhaps
    // none: the chooser may then set up a new one); no value means the operator cancelled. The window
    // supplies the "Select Port" dialog.
    using TPortChooser = std::function<std::optional<quint16>(const QList<quint16> &ports)>;

    static constexpr quint16 HighestChoosablePort = 50;

    TQtSerialPortAccess();
    ~TQtSerialPortAccess() override;

    void SetPortChooser(TPortChooser chooser) { m_chooser = std::move(chooser); }
    // Where an error that escapes the data-available handler goes; without a report it is logged.
    void SetErrorReport(std::function<void(const QString &message)> report)
    {
        m_errorReport = std::move(report);
    }
    // The port number in use: the chosen one once port 0 has been opened through the chooser.
    quint16 PortNumber() const { return m_portNumber; }

    void SetPortNumber(quint16 number) override;
    void SetBaudRate(quint16 rate) override;
    void SetParity(TParity parity) override;
    void SetDataBits(quint16 bits) override;
    void SetStopBits(quint16 bits) override;
    void OpenPort(bool open) override;
    bool IsOpen() const override { return m_port.isOpen(); }
    int OutputFree() const override;
    bool DsrOn() const override;
    void WriteText(QByteArrayView text) override;
    char ReadChar() override;
    void SetDataAvailableHandler(std::function<void(int count)> handler) override;

    // The ports from 1 to 50 that exist: they can be opened (and are closed again at once), or another
    // program holds them.
    static QList<quint16> ExistingPorts();
    // What an operator without access to device is told to do.
    static QString PermissionAdvice(const QString &name, const QString &device);

private:
    void Open();
    void ApplyLineSettings();
    void AnnounceData();
    // Writes what the open port's handle takes at once, when nothing waits before it; returns the count.
    qsizetype WriteToHandle(QByteArrayView text);

    // Mutable because QSerialPort reads the modem lines through a non-const call.
    mutable QSerialPort m_port;
    quint16 m_portNumber = 0;
    quint16 m_baudRate = 9600;
    TParity m_parity = pNone;
    quint16 m_dataBits = 8;
    quint16 m_stopBits = 1;
    std::function<void(int count)> m_dataAvailable;
    TPortChooser m_chooser;
    std::function<void(const QString &message)> m_errorReport;
    // Counts opens, so that a close queued for a vanished device leaves a port opened since alone.
    quint64 m_opens = 0;
    bool m_announcing = false;
};
