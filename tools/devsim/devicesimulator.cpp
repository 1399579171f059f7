#include "devicesimulator.h"

#include <QSocketNotifier>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// 19200 baud with a start and a stop bit: 1920 bytes a second.
constexpr qint64 LineBytesPerSecond = 19200 / 10;
// A USB serial adapter's packet holds at most 62 bytes of the line's data (two more are its status).
constexpr qint64 UsbPacketBytes = 62;
// The last reply is given time to be read before the line closes: closing drops what is unread.
constexpr int CloseDelay = 200;

// The device writes each field like printf's "%7.6d": at least six digits, blank-padded to seven. A
// position beyond +-999.999 mm takes all seven characters, or more below -999.999 mm, which shifts the
// fields after it.
QByteArray FormatField(qint64 counts)
{
    const qint64 value = qBound(qint64(-2147483647), counts, qint64(2147483647));
    QByteArray digits = QByteArray::number(qAbs(value)).rightJustified(6, '0');
    if (value < 0)
        digits.prepend('-');
    return digits.rightJustified(7, ' ');
}

} // namespace

TDeviceSimulator::TDeviceSimulator(QObject *parent) : QObject(parent)
{
    m_writer.setTimerType(Qt::PreciseTimer);
    connect(&m_writer, &QTimer::timeout, this, [this] { Drain(); });
    m_usbClock.start();
}

TDeviceSimulator::~TDeviceSimulator()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool TDeviceSimulator::Open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = QStringLiteral("Cannot open a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (!name) {
        *error = QStringLiteral("The pseudo-terminal has no name.");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    // The simulator keeps the terminal side open itself, raw, so that the line stays up while the
    // station closes and reopens its port, and nothing is echoed back.
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = QStringLiteral("Cannot open %1: %2")
                     .arg(m_devicePath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios settings{};
    ::tcgetattr(m_slave, &settings);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B19200);
    ::tcsetattr(m_slave, TCSANOW, &settings);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    m_reader = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_reader, &QSocketNotifier::activated, this, [this] { ReadCommands(); });
    return true;
}

void TDeviceSimulator::SetPath(const QList<TCounts> &path)
{
    m_path = path.isEmpty() ? QList<TCounts>{TCounts{}} : path;
    m_pathIndex = 0;
}

QString TDeviceSimulator::ControlHelp()
{
    return QStringLiteral(
        "Control lines (standard input, or a script line \"N <control>\" run before the N-th command):\n"
        "  record              the next position reply signals a recorded point (status 1)\n"
        "  status C            the next position reply carries the status character C (3, 4 and 6\n"
        "                      sound the station's chime)\n"
        "  silent on|off       answer nothing / answer again\n"
        "  truncate            the next reply is cut to half its length (still ended by CR)\n"
        "  garbage             the next reply is 24 random bytes (no CR among them) and a CR\n"
        "  split               the next reply is written one byte at a time, 2 ms apart\n"
        "  badnumber           the next position reply has a malformed X field\n"
        "  vanish N            answer N more commands, then close the line (the device is unplugged)\n"
        "  linetiming on|off   pace every reply at 19200 baud (about 0.52 ms a byte) after the device\n"
        "                      latency (on by default; off writes each reply at once)\n"
        "  quit                end the simulator\n"
        "Each control line is answered on standard output with \"ok <line>\" or \"error <reason>\".\n");
}

QString TDeviceSimulator::Control(const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString word = words.first().toLower();
    const QString argument = words.size() > 1 ? words.at(1).toLower() : QString();
    const QString ok = QStringLiteral("ok ") + words.join(QLatin1Char(' '));
    const auto onOff = [&](bool &flag) {
        if (argument != QLatin1String("on") && argument != QLatin1String("off"))
            return QStringLiteral("error %1 needs on or off").arg(word);
        flag = argument == QLatin1String("on");
        return ok;
    };

    if (word == QLatin1String("record")) {
        m_statusPending = '1';
        return ok;
    }
    if (word == QLatin1String("status")) {
        // The character as given, case kept: the words were lower-cased above.
        const QString given = line.simplified().section(QLatin1Char(' '), 1, 1);
        if (given.size() != 1 || given.at(0).unicode() < 0x21 || given.at(0).unicode() > 0x7e)
            return QStringLiteral("error status needs one printable character");
        m_statusPending = char(given.at(0).unicode());
        return ok;
    }
    if (word == QLatin1String("silent"))
        return onOff(m_silent);
    if (word == QLatin1String("linetiming"))
        return onOff(m_lineTiming);
    if (word == QLatin1String("truncate")) {
        m_truncate = true;
        return ok;
    }
    if (word == QLatin1String("garbage")) {
        m_garbage = true;
        return ok;
    }
    if (word == QLatin1String("split")) {
        m_split = true;
        return ok;
    }
    if (word == QLatin1String("badnumber")) {
        m_badNumber = true;
        return ok;
    }
    if (word == QLatin1String("vanish")) {
        bool valid = false;
        const int n = argument.toInt(&valid);
        if (!valid || n < 0)
            return QStringLiteral("error vanish needs a number of replies");
        m_vanishAt = m_replies + n;
        if (n == 0)
            Vanish();
        return ok;
    }
    return QStringLiteral("error unknown control line: %1").arg(line.trimmed());
}

void TDeviceSimulator::ReadCommands()
{
    char bytes[512];
    const ssize_t count = ::read(m_master, bytes, sizeof bytes);
    if (count <= 0)
        return;
    for (ssize_t i = 0; i < count; ++i) {
        const char byte = bytes[i];
        if (byte == '\r' || byte == '\n') {
            if (!m_line.isEmpty())
                Answer(m_line);
            m_line.clear();
        } else if (m_line.size() < 256) {
            m_line.append(byte);
        }
        if (m_vanished)
            return;
    }
}

void TDeviceSimulator::Answer(const QByteArray &command)
{
    ++m_commands;
    const auto [first, last] = m_script.equal_range(m_commands);
    for (auto it = first; it != last; ++it) {
        QTextStream(stdout) << Control(it->second) << Qt::endl;
    }
    if (m_vanished || m_silent)
        return;

    QByteArray reply = Reply(command);
    if (reply.isEmpty()) {
        QTextStream(stderr) << "unknown command " << command << Qt::endl;
        return;
    }
    if (m_garbage) {
        m_garbage = false;
        reply.clear();
        while (reply.size() < 24) {
            const char byte = char(m_random.bounded(256));
            if (byte != '\r')
                reply.append(byte);
        }
    } else if (m_truncate) {
        m_truncate = false;
        reply.truncate(reply.size() / 2);
    }
    reply.append('\r');
    const bool split = std::exchange(m_split, false);
    Send(reply, split);

    ++m_replies;
    if (m_vanishAt >= 0 && m_replies >= m_vanishAt)
        Vanish();
}

QByteArray TDeviceSimulator::Reply(const QByteArray &command)
{
    const TCounts &point = m_path.at(m_pathIndex);
    if (command == "BR00")
        return PositionReply();
    if (command == "BJ00" || command == "BK00" || command == "BL00" || command == "BM00")
        return QByteArray("B") + command.at(1);
    if (command == "BZ00") {
        m_offset = {-point.x, -point.y, -point.z};
        return "BZ";
    }
    if (command == "BU10" || command == "BU50")
        return "BU";
    if (command.startsWith("BS") && command.size() >= 23) {
        bool validX = false, validY = false, validZ = false;
        const int x = command.mid(2, 7).trimmed().toInt(&validX);
        const int y = command.mid(9, 7).trimmed().toInt(&validY);
        const int z = command.mid(16, 7).trimmed().toInt(&validZ);
        if (validX && validY && validZ)
            m_offset = {x - point.x, y - point.y, z - point.z};
        return "BS";
    }
    return {};
}

QByteArray TDeviceSimulator::PositionReply()
{
    ++m_polls;
    const TCounts &point = m_path.at(m_pathIndex);
    m_pathIndex = (m_pathIndex + 1) % m_path.size();

    QByteArray x = FormatField(qint64(point.x) + m_offset.x);
    if (m_badNumber) {
        m_badNumber = false;
        x = " 0x1.-2";
    }
    char status = std::exchange(m_statusPending, char(0));
    if (status == 0)
        status = m_recordEvery > 0 && m_polls % m_recordEvery == 0 ? '1' : '0';
    return "BR" + x + FormatField(qint64(point.y) + m_offset.y) + FormatField(qint64(point.z) + m_offset.z) +
           status;
}

void TDeviceSimulator::Send(const QByteArray &bytes, bool oneByteAtATime)
{
    if (!oneByteAtATime && !m_lineTiming && m_queue.empty()) {
        const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
        if (written != bytes.size())
            QTextStream(stderr) << "reply not written in full (nobody reads the line?)" << Qt::endl;
        return;
    }
    if (m_queue.empty()) {
        m_lineClock.start();
        m_lineBytesSent = 0;
    }
    m_queue.push_back({bytes, oneByteAtATime});
    if (!m_writer.isActive())
        m_writer.start(m_lineTiming ? 1 : 2);
}

void TDeviceSimulator::Drain()
{
    qint64 allowed = std::numeric_limits<qint64>::max();
    if (m_lineTiming) {
        const qint64 sending = m_lineClock.nsecsElapsed() - qint64(m_latency) * 1000000;
        allowed = std::max<qint64>(0, sending) * LineBytesPerSecond / 1000000000 - m_lineBytesSent;
        // The USB side of the device's port hands what the line has brought to the computer in
        // packets: when its latency timer runs out, or at once when a packet is full. A reply written
        // a byte at a time ("split") goes round it.
        if (m_usbLatency > 1 && !m_queue.empty() && !m_queue.front().oneByteAtATime) {
            const qint64 now = m_usbClock.elapsed();
            if (now >= m_nextPacketAt)
                m_nextPacketAt = (now / m_usbLatency + 1) * m_usbLatency;
            else if (allowed < UsbPacketBytes)
                return;
            allowed = std::min(allowed, UsbPacketBytes);
        }
    }
    while (!m_queue.empty() && allowed > 0) {
        TChunk &chunk = m_queue.front();
        const qsizetype length = chunk.oneByteAtATime ? 1 : std::min<qint64>(allowed, chunk.bytes.size());
        if (::write(m_master, chunk.bytes.constData(), size_t(length)) != length)
            QTextStream(stderr) << "reply not written in full (nobody reads the line?)" << Qt::endl;
        chunk.bytes.remove(0, length);
        m_lineBytesSent += length;
        allowed -= length;
        const bool oneAtATime = chunk.oneByteAtATime;
        if (chunk.bytes.isEmpty())
            m_queue.pop_front();
        if (oneAtATime)
            break;
    }
    if (m_queue.empty()) {
        m_writer.stop();
        if (m_vanished)
            QTimer::singleShot(CloseDelay, this, [this] { CloseLine(); });
    }
}

void TDeviceSimulator::Vanish()
{
    if (m_vanished)
        return;
    m_vanished = true;
    if (m_reader)
        m_reader->setEnabled(false);
    if (m_queue.empty())
        QTimer::singleShot(CloseDelay, this, [this] { CloseLine(); });
}

void TDeviceSimulator::CloseLine()
{
    if (m_master < 0)
        return;
    m_writer.stop();
    m_queue.clear();
    delete m_reader;
    m_reader = nullptr;
    ::close(m_master);
    ::close(m_slave);
    m_master = m_slave = -1;
    Q_EMIT Vanished();
}
