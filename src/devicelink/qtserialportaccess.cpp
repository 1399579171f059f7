#include "devicelink/qtserialportaccess.h"

#include "devicelink/portdirectory.h"
#include "devicelink/serialerror.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QtDebug>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

using TKind = TSerialError::TKind;

std::optional<QSerialPort::Parity> QtParity(TParity parity)
{
    switch (parity) {
    case pNone:
        return QSerialPort::NoParity;
    case pOdd:
        return QSerialPort::OddParity;
    case pEven:
        return QSerialPort::EvenParity;
    case pMark:
        return QSerialPort::MarkParity;
    case pSpace:
        return QSerialPort::SpaceParity;
    }
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> QtStopBits(quint16 bits)
{
    switch (bits) {
    case 1:
        return QSerialPort::OneStop;
    case 2:
        return QSerialPort::TwoStop;
    }
    return std::nullopt;
}

// Opens port number for the existence test of the chooser list, and what it found.
enum class TProbe
{
    Missing,
    Free,
    InUse,
};

TProbe Probe(quint16 number)
{
    const QString device = TPortDirectory::DevicePath(number);
    if (device.isEmpty())
        return TProbe::Missing;
    QSerialPort port;
    port.setPortName(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return TProbe::Free;
    }
    return port.error() == QSerialPort::PermissionError || port.error() == QSerialPort::OpenError
               ? TProbe::InUse
               : TProbe::Missing;
}

} // namespace

TQtSerialPortAccess::TQtSerialPortAccess()
{
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] { AnnounceData(); });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port, [this](QSerialPort::SerialPortError e) {
        // A vanished device (unplugged, or a pseudo-terminal whose other side closed) leaves a port
        // that only fails: it is closed, once the notification that met the error has returned, so
        // that the next open finds out whether the device is back. The transaction in flight ends by
        // its reply timeout. Other errors reach the caller of the operation that met them.
        if (e != QSerialPort::ResourceError)
            return;
        qWarning("Serial port %s is gone: %s", qPrintable(m_port.portName()),
                 qPrintable(m_port.errorString()));
        const quint64 opened = m_opens;
        QMetaObject::invokeMethod(
            &m_port,
            [this, opened] {
                if (opened == m_opens && m_port.isOpen())
                    m_port.close();
            },
            Qt::QueuedConnection);
    });
}

TQtSerialPortAccess::~TQtSerialPortAccess()
{
    if (m_port.isOpen())
        m_port.close();
}

void TQtSerialPortAccess::SetPortNumber(quint16 number)
{
    if (!m_port.isOpen()) {
        m_portNumber = number;
        return;
    }
    m_port.close();
    m_portNumber = number;
    Open();
}

void TQtSerialPortAccess::SetBaudRate(quint16 rate)
{
    m_baudRate = rate;
    if (m_port.isOpen())
        ApplyLineSettings();
}

void TQtSerialPortAccess::SetParity(TParity parity)
{
    m_parity = parity;
    if (m_port.isOpen())
        ApplyLineSettings();
}

void TQtSerialPortAccess::SetDataBits(quint16 bits)
{
    m_dataBits = bits;
    if (m_port.isOpen())
        ApplyLineSettings();
}

void TQtSerialPortAccess::SetStopBits(quint16 bits)
{
    m_stopBits = bits;
    if (m_port.isOpen())
        ApplyLineSettings();
}

void TQtSerialPortAccess::OpenPort(bool open)
{
    if (open == m_port.isOpen())
        return;
    if (open)
        Open();
    else
        m_port.close(); // unread bytes are discarded with the buffers
}

void TQtSerialPortAccess::Open()
{
    if (m_portNumber == 0) {
        const QList<quint16> ports = ExistingPorts();
        const TSerialError noneSetUp(TKind::NoPortSelected,
                                     QStringLiteral("No serial port is set up among COM1 to COM%1 (%2).")
                                         .arg(HighestChoosablePort)
                                         .arg(TPortDirectory::LinkPath(1).chopped(1) + QLatin1Char('n')));
        if (!m_chooser) {
            if (ports.isEmpty())
                throw noneSetUp;
            throw TSerialError(TKind::NoPortSelected, QStringLiteral("No serial port is selected."));
        }
        // With no link yet the chooser still offers the system's devices to link.
        const std::optional<quint16> chosen = m_chooser(ports);
        if (!chosen || *chosen == 0) {
            if (ports.isEmpty())
                throw noneSetUp;
            throw TSerialError(TKind::NoPortSelected, QStringLiteral("No serial port was selected."));
        }
        m_portNumber = *chosen;
    }

    const QString name = TPortDirectory::PortName(m_portNumber);
    const QString device = TPortDirectory::DevicePath(m_portNumber);
    if (device.isEmpty())
        throw TSerialError(TKind::PortDoesNotExist,
                           QStringLiteral("Serial port %1 does not exist (%2 leads to no device).")
                               .arg(name, TPortDirectory::LinkPath(m_portNumber)));

    m_port.setPortName(device);
    m_port.clearError();
    ++m_opens;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_port.error();
        const QString reason = m_port.errorString();
        if (error == QSerialPort::DeviceNotFoundError)
            throw TSerialError(TKind::PortDoesNotExist,
                               QStringLiteral("Serial port %1 does not exist: %2").arg(name, reason));
        if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError) {
            const QFileInfo info(device);
            if (info.exists() && (!info.isReadable() || !info.isWritable()))
                throw TSerialError(TKind::Other, PermissionAdvice(name, device));
            throw TSerialError(
                TKind::PortInUse,
                QStringLiteral("Serial port %1 is in use by another program: %2").arg(name, reason));
        }
        throw TSerialError(TKind::Other,
                           QStringLiteral("Serial port %1 cannot be opened: %2").arg(name, reason));
    }

    m_port.setReadBufferSize(BufferSize);
    try {
        ApplyLineSettings();
    } catch (const TSerialError &) {
        m_port.close();
        throw;
    }
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines; raising them there fails harmlessly.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

void TQtSerialPortAccess::ApplyLineSettings()
{
    const std::optional<QSerialPort::Parity> parity = QtParity(m_parity);
    const std::optional<QSerialPort::StopBits> stopBits = QtStopBits(m_stopBits);
    const QString name = TPortDirectory::PortName(m_portNumber);
    if (!parity)
        throw TSerialError(
            TKind::Other,
            QStringLiteral("Parity %1 is not a parity of serial port %2.").arg(int(m_parity)).arg(name));
    if (!stopBits)
        throw TSerialError(
            TKind::Other,
            QStringLiteral("%1 stop bits are not possible on serial port %2.").arg(m_stopBits).arg(name));
    if (m_dataBits < 5 || m_dataBits > 8)
        throw TSerialError(
            TKind::Other,
            QStringLiteral("%1 data bits are not possible on serial port %2.").arg(m_dataBits).arg(name));
    if (m_baudRate == 0)
        throw TSerialError(TKind::Other,
                           QStringLiteral("Baud rate 0 is not possible on serial port %1.").arg(name));
    const bool applied = m_port.setBaudRate(m_baudRate) && m_port.setParity(*parity) &&
                         m_port.setDataBits(QSerialPort::DataBits(m_dataBits)) &&
                         m_port.setStopBits(*stopBits);
    if (!applied) {
        const QString reason = m_port.errorString();
        m_port.clearError();
        throw TSerialError(TKind::Other,
                           QStringLiteral("Serial port %1 refuses its line settings: %2").arg(name, reason));
    }
}

int TQtSerialPortAccess::OutputFree() const
{
    if (!m_port.isOpen())
        return BufferSize;
    return int(std::max<qint64>(0, BufferSize - m_port.bytesToWrite()));
}

bool TQtSerialPortAccess::DsrOn() const
{
    if (!m_port.isOpen())
        return false;
    return m_port.pinoutSignals().testFlag(QSerialPort::DataSetReadySignal);
}

void TQtSerialPortAccess::WriteText(QByteArrayView text)
{
    if (!m_port.isOpen()) {
        if (m_portNumber == 0)
            throw TSerialError(TKind::NoPortSelected, QStringLiteral("No serial port is selected."));
        throw TSerialError(
            TKind::PortNotOpen,
            QStringLiteral("Serial port %1 is not open.").arg(TPortDirectory::PortName(m_portNumber)));
    }
    if (text.size() > OutputFree())
        throw TSerialError(TKind::OutputBufferTooSmall,
                           QStringLiteral("%1 bytes do not fit the %2 bytes free in the output buffer.")
                               .arg(text.size())
                               .arg(OutputFree()));
    m_port.clearError();
    const qsizetype direct = WriteToHandle(text);
    if (direct == text.size())
        return;
    const qint64 written = m_port.write(text.data() + direct, text.size() - direct);
    if (written != text.size() - direct) {
        const QString reason = m_port.errorString();
        throw TSerialError(TKind::PutBlockFailure,
                           QStringLiteral("The serial port refused the bytes: %1").arg(reason));
    }
}

qsizetype TQtSerialPortAccess::WriteToHandle(QByteArrayView text)
{
    // A command of a few bytes goes straight to the open handle when nothing waits before it: handed
    // to QSerialPort's buffer, it would switch the port's write notifier on and off again, two more
    // turns of the event loop at every poll. What the handle does not take goes the usual way.
#ifdef Q_OS_UNIX
    if (m_port.bytesToWrite() > 0 || m_port.handle() < 0)
        return 0;
    ssize_t taken = -1;
    do
        taken = ::write(m_port.handle(), text.data(), size_t(text.size()));
    while (taken < 0 && errno == EINTR);
    return std::max<qsizetype>(0, taken);
#else
    Q_UNUSED(text);
    return 0;
#endif
}

char TQtSerialPortAccess::ReadChar()
{
    char byte = 0;
    if (!m_port.isOpen() || !m_port.getChar(&byte))
        throw TSerialError(TKind::Other, QStringLiteral("No received byte is waiting."));
    return byte;
}

void TQtSerialPortAccess::SetDataAvailableHandler(std::function<void(int count)> handler)
{
    m_dataAvailable = std::move(handler);
}

void TQtSerialPortAccess::AnnounceData()
{
    // One notification at a time: a handler that runs a nested event loop gets the bytes that arrive
    // meanwhile in a later notification.
    if (m_announcing || !m_dataAvailable)
        return;
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting <= 0)
        return;
    m_announcing = true;
    try {
        const std::function<void(int)> handler = m_dataAvailable;
        handler(int(std::min<qint64>(waiting, BufferSize)));
    } catch (const std::exception &error) {
        if (m_errorReport)
            m_errorReport(QString::fromUtf8(error.what()));
        else
            qCritical("Error while handling received serial data: %s", error.what());
    }
    m_announcing = false;
    // Bytes that came while the handler ran, or beyond one buffer's worth, get a notification of
    // their own from the event loop.
    if (m_port.isOpen() && m_port.bytesAvailable() > 0)
        QMetaObject::invokeMethod(
            &m_port, [this] { AnnounceData(); }, Qt::QueuedConnection);
}

QString TQtSerialPortAccess::PermissionAdvice(const QString &name, const QString &device)
{
    return QStringLiteral("No permission to use serial port %1 (%2). The operator needs read and write "
                          "access to the device; on Debian, membership of the dialout group "
                          "(sudo adduser $USER dialout), then log in again.")
        .arg(name, device);
}

QList<quint16> TQtSerialPortAccess::ExistingPorts()
{
    QList<quint16> ports;
    for (quint16 number = 1; number <= HighestChoosablePort; ++number) {
        if (Probe(number) != TProbe::Missing)
            ports.append(number);
    }
    return ports;
}
