// qintar-devsim: the measuring device on a pseudo-terminal, linked as COMn for the station.
#include "devicelink/portdirectory.h"
#include "devicesimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTextStream>
#include <cmath>
#include <csignal>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[1], &byte, 1);
}

int Fail(const QString &message)
{
    QTextStream(stderr) << "qintar-devsim: " << message << Qt::endl;
    return 2;
}

// Millimetres beyond which counts would leave the device's 32-bit range.
constexpr double MostMillimetres = 1000000.0;

// "x y z" in millimetres a line; blank lines and lines starting with # are skipped.
std::optional<QList<TDeviceSimulator::TCounts>> ReadPath(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the path file %1: %2").arg(fileName, file.errorString());
        return std::nullopt;
    }
    QList<TDeviceSimulator::TCounts> path;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList words =
            line.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
        double mm[3] = {};
        bool valid = words.size() == 3;
        for (int i = 0; valid && i < 3; ++i) {
            mm[i] = words.at(i).toDouble(&valid);
            valid = valid && std::abs(mm[i]) < MostMillimetres;
        }
        if (!valid) {
            *error = QStringLiteral(
                         "%1 line %2: expected \"x y z\" in millimetres, each below 1000000, got \"%3\"")
                         .arg(fileName)
                         .arg(lineNumber)
                         .arg(line);
            return std::nullopt;
        }
        path.append(
            {int(std::lround(mm[0] * 1000)), int(std::lround(mm[1] * 1000)), int(std::lround(mm[2] * 1000))});
    }
    if (path.isEmpty()) {
        *error = QStringLiteral("the path file %1 holds no point").arg(fileName);
        return std::nullopt;
    }
    return path;
}

// "N <control line>" a line: the control runs before the N-th command is answered.
std::optional<std::multimap<int, QString>> ReadScript(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the script %1: %2").arg(fileName, file.errorString());
        return std::nullopt;
    }
    std::multimap<int, QString> script;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        bool valid = space > 0;
        const int at = valid ? line.left(space).toInt(&valid) : 0;
        if (!valid || at < 1) {
            *error = QStringLiteral("%1 line %2: expected \"<command number> <control>\", got \"%3\"")
                         .arg(fileName)
                         .arg(lineNumber)
                         .arg(line);
            return std::nullopt;
        }
        script.emplace(at, line.mid(space + 1).trimmed());
    }
    return script;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qintar-devsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QINTAR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Simulates the measuring device on a pseudo-terminal linked as COMn in %1 (the station's "
            "port n), and answers the station's commands: BR00 with a position reply, BJ00 BK00 BL00 "
            "BM00 BZ00 BU10 BU50 and BS... with their reply letters. Prints \"ready <port> <device>\" "
            "when it listens. Positions are the device's own counts: the station shows them in mm with "
            "the signs inverted; beyond +-999.999 mm a field takes seven characters, or more below "
            "-999.999 mm, as the device writes it. Replies go out at 19200 baud (about 0.52 ms a byte) "
            "after a small device latency, and reach the computer as over a USB serial adapter, in "
            "packets at its latency timer (16 ms), unless --instant is given.\n\n")
            .arg(TPortDirectory::PortsFolder()) +
        TDeviceSimulator::ControlHelp());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port number to link (default 99)."),
                                        QStringLiteral("N"), QStringLiteral("99"));
    const QCommandLineOption pathOption(
        QStringLiteral("path"),
        QStringLiteral("Move along the points of a file of \"x y z\" lines in mm, "
                       "one point per position poll, round and round."),
        QStringLiteral("file"));
    const QCommandLineOption circleOption(QStringLiteral("circle"),
                                          QStringLiteral("Move round a circle in the X-Y plane."));
    const QCommandLineOption radiusOption(QStringLiteral("radius"),
                                          QStringLiteral("Radius of --circle in mm (default 50)."),
                                          QStringLiteral("mm"), QStringLiteral("50"));
    const QCommandLineOption stepsOption(QStringLiteral("steps"),
                                         QStringLiteral("Polls per turn of --circle (default 72)."),
                                         QStringLiteral("n"), QStringLiteral("72"));
    const QCommandLineOption recordEveryOption(
        QStringLiteral("record-every"), QStringLiteral("Signal a recorded point every N position polls."),
        QStringLiteral("N"));
    const QCommandLineOption scriptOption(
        QStringLiteral("script"), QStringLiteral("Run control lines from a file of \"N <control>\" lines."),
        QStringLiteral("file"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Start silent (no replies)."));
    const QCommandLineOption instantOption(
        QStringLiteral("instant"),
        QStringLiteral("An instant line: write each reply at once, whole, without latency or pacing."));
    const QCommandLineOption latencyOption(
        QStringLiteral("latency"),
        QStringLiteral("The device's time to start a reply on the paced line, in ms (default 2)."),
        QStringLiteral("ms"), QStringLiteral("2"));
    const QCommandLineOption usbLatencyOption(
        QStringLiteral("usb-latency"),
        QStringLiteral("The latency timer of the line's USB side, in ms (default 16): what the line has "
                       "brought is handed to the computer when it runs out, or when 62 bytes wait. 1 "
                       "hands the bytes over as they come, every millisecond."),
        QStringLiteral("ms"), QStringLiteral("16"));
    const QCommandLineOption vanishOption(
        QStringLiteral("vanish"), QStringLiteral("Close the line after N replies."), QStringLiteral("N"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the garbage bytes."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption forceOption(QStringLiteral("force"),
                                         QStringLiteral("Replace a COMn link that leads to another device."));
    const QCommandLineOption noStdinOption(
        QStringLiteral("no-stdin"), QStringLiteral("Ignore standard input (end with Ctrl+C or SIGTERM); "
                                                   "otherwise its end ends the simulator."));
    parser.addOptions({portOption, pathOption, circleOption, radiusOption, stepsOption, recordEveryOption,
                       scriptOption, silentOption, instantOption, latencyOption, usbLatencyOption,
                       vanishOption, seedOption, forceOption, noStdinOption});
    parser.process(app);

    bool valid = false;
    const uint port = parser.value(portOption).toUInt(&valid);
    if (!valid || port == 0 || port > 0xffff)
        return Fail(QStringLiteral("--port needs a number from 1 to 65535"));

    TDeviceSimulator device;
    QString error;
    if (parser.isSet(pathOption) && parser.isSet(circleOption))
        return Fail(QStringLiteral("give --path or --circle, not both"));
    if (parser.isSet(pathOption)) {
        const auto path = ReadPath(parser.value(pathOption), &error);
        if (!path)
            return Fail(error);
        device.SetPath(*path);
    } else if (parser.isSet(circleOption)) {
        const double radius = parser.value(radiusOption).toDouble(&valid);
        if (!valid || radius < 0 || radius >= MostMillimetres)
            return Fail(QStringLiteral("--radius needs millimetres from 0 to below 1000000"));
        const int steps = parser.value(stepsOption).toInt(&valid);
        if (!valid || steps < 1 || steps > 100000)
            return Fail(QStringLiteral("--steps needs a number from 1 to 100000"));
        QList<TDeviceSimulator::TCounts> path;
        for (int i = 0; i < steps; ++i) {
            const double angle = 2 * M_PI * i / steps;
            path.append({int(std::lround(radius * 1000 * std::cos(angle))),
                         int(std::lround(radius * 1000 * std::sin(angle))), 0});
        }
        device.SetPath(path);
    }
    if (parser.isSet(recordEveryOption)) {
        const int every = parser.value(recordEveryOption).toInt(&valid);
        if (!valid || every < 1)
            return Fail(QStringLiteral("--record-every needs a number of polls from 1"));
        device.SetRecordEvery(every);
    }
    if (parser.isSet(scriptOption)) {
        const auto script = ReadScript(parser.value(scriptOption), &error);
        if (!script)
            return Fail(error);
        device.SetScript(*script);
    }
    device.SetSeed(parser.value(seedOption).toUInt());
    const int latency = parser.value(latencyOption).toInt(&valid);
    if (!valid || latency < 0 || latency > 60000)
        return Fail(QStringLiteral("--latency needs milliseconds from 0 to 60000"));
    device.SetLatency(latency);
    const int usbLatency = parser.value(usbLatencyOption).toInt(&valid);
    if (!valid || usbLatency < 1 || usbLatency > 255)
        return Fail(QStringLiteral("--usb-latency needs milliseconds from 1 to 255"));
    device.SetUsbLatency(usbLatency);

    if (!device.Open(&error))
        return Fail(error);
    if (parser.isSet(silentOption))
        device.Control(QStringLiteral("silent on"));
    if (parser.isSet(instantOption)) {
        device.Control(QStringLiteral("linetiming off"));
        device.SetLatency(0);
    }
    if (parser.isSet(vanishOption)) {
        const QString answer = device.Control(QStringLiteral("vanish ") + parser.value(vanishOption));
        if (answer.startsWith(QLatin1String("error")))
            return Fail(answer.mid(6));
    }

    if (!TPortDirectory::CreateLink(quint16(port), device.DevicePath(), parser.isSet(forceOption), &error))
        return Fail(error + QStringLiteral(" (--force replaces it)"));
    const QString devicePath = device.DevicePath();
    const auto removeLink = [&] { TPortDirectory::RemoveLink(quint16(port), devicePath); };
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, removeLink);
    QObject::connect(&device, &TDeviceSimulator::Vanished, &app, [&] {
        removeLink();
        QTextStream(stdout) << "vanished" << Qt::endl;
    });

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return Fail(QStringLiteral("cannot set up signal handling"));
    QSocketNotifier signalNotifier(SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);

    std::optional<QSocketNotifier> input;
    QByteArray pendingInput;
    if (!parser.isSet(noStdinOption)) {
        input.emplace(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&*input, &QSocketNotifier::activated, &app, [&] {
            char bytes[1024];
            const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
            if (count <= 0) {
                input->setEnabled(false);
                QCoreApplication::quit();
                return;
            }
            pendingInput.append(bytes, count);
            qsizetype end;
            while ((end = pendingInput.indexOf('\n')) >= 0) {
                const QString line = QString::fromUtf8(pendingInput.left(end)).trimmed();
                pendingInput.remove(0, end + 1);
                if (line == QLatin1String("quit")) {
                    QCoreApplication::quit();
                    return;
                }
                const QString answer = device.Control(line);
                if (!answer.isEmpty())
                    QTextStream(stdout) << answer << Qt::endl;
            }
        });
    }

    QTextStream(stdout) << "ready " << port << ' ' << devicePath << Qt::endl;
    const int result = app.exec();
    removeLink();
    return result;
}
