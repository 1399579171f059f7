// The real serial layer and port manager against qintar-devsim on a pseudo-terminal.
#include "devicelink/portdirectory.h"
#include "devicelink/portmanagerrs232.h"
#include "devicelink/qtenginetimer.h"
#include "devicelink/qtserialportaccess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

constexpr int Patience = 10000;

bool WaitUntil(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(Patience);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

class TSimulator
{
public:
    explicit TSimulator(const QString &configHome, quint16 port)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QINTAR_DEVSIM), {QStringLiteral("--port"), QString::number(port)});
    }

    ~TSimulator()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(Patience))
            m_process.kill();
    }

    // The next line the simulator prints.
    QString NextLine()
    {
        WaitUntil([this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; });
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    // Sends a control line and returns the simulator's answer to it.
    QString Control(const QString &line)
    {
        m_process.write((line + QLatin1Char('\n')).toUtf8());
        return NextLine();
    }

    QProcess &Process() { return m_process; }

private:
    QProcess m_process;
};

class DeviceLinkTest : public ::testing::Test
{
protected:
    QTemporaryDir configHome;

    void SetUp() override
    {
        ASSERT_TRUE(configHome.isValid());
        // The station's side looks up COMn in the same folder as the simulator links it.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    }

    std::unique_ptr<TSimulator> StartSimulator(quint16 port)
    {
        auto simulator = std::make_unique<TSimulator>(configHome.path(), port);
        const QString ready = simulator->NextLine();
        EXPECT_TRUE(ready.startsWith(QStringLiteral("ready %1 ").arg(port))) << ready.toStdString();
        return simulator;
    }
};

struct TStation
{
    TPortManagerRS232 engine{std::make_unique<TQtSerialPortAccess>(), std::make_unique<TQtEngineTimer>(),
                             std::make_unique<TQtEngineTimer>()};
    QList<QByteArray> replies;
    QList<QByteArray> failTexts;

    // Set up as the main window sets up its port manager.
    explicit TStation(quint16 port)
    {
        engine.SetPortNumber(port);
        engine.SetBaudRate(19200);
        engine.SetMaxTransmitAttempts(1);
        engine.SetMaxReceiveAttempts(1);
        engine.SetTransmitEndSequence("\r");
        engine.SetReceiveEndSequence("\r");
        engine.SetOnSuccess([this](TPortManagerRS232 &sender) { replies.append(sender.Reply()); });
        engine.SetOnFail([this](TPortManagerRS232 &sender) { failTexts.append(sender.FailText()); });
    }
};

TEST_F(DeviceLinkTest, CommandGetsItsReplyAndASilentDeviceTimesOut)
{
    const auto simulator = StartSimulator(99);
    TStation station(99);
    station.engine.SetPortOpen(true);

    station.engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return !station.replies.isEmpty(); }));
    const QByteArray position = station.replies.first();
    ASSERT_EQ(position.size(), 24) << position.toStdString();
    EXPECT_EQ(position.at(1), 'R');
    EXPECT_EQ(position.mid(2, 21), " 000000 000000 000000");

    station.engine.SetCommand("BJ00");
    ASSERT_TRUE(WaitUntil([&] { return station.replies.size() == 2; }));
    EXPECT_EQ(station.replies.at(1).mid(1), "J");

    // A reply written one byte at a time arrives in several notifications and completes the same.
    ASSERT_EQ(simulator->Control(QStringLiteral("split")), QStringLiteral("ok split"));
    station.engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return station.replies.size() == 3; }));
    EXPECT_EQ(station.replies.at(2), position);

    ASSERT_EQ(simulator->Control(QStringLiteral("silent on")), QStringLiteral("ok silent on"));
    station.engine.SetRTimeout(300);
    station.engine.SetMaxReceiveAttempts(2);
    station.engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return !station.failTexts.isEmpty(); }));
    EXPECT_EQ(station.failTexts, QList<QByteArray>{"R: No Reply"});
    EXPECT_EQ(station.replies.size(), 3);
    EXPECT_FALSE(station.engine.Busy());
}

TEST_F(DeviceLinkTest, SimulatorRemovesItsLinkWhenItEnds)
{
    auto simulator = StartSimulator(42);
    EXPECT_FALSE(TPortDirectory::DevicePath(42).isEmpty());
    simulator.reset();
    EXPECT_FALSE(QFileInfo(TPortDirectory::LinkPath(42)).isSymLink());
}

TEST_F(DeviceLinkTest, OpenErrorsNameTheirCause)
{
    const auto simulator = StartSimulator(7);
    TQtSerialPortAccess first;
    first.SetPortNumber(7);
    first.OpenPort(true);
    first.OpenPort(true);
    EXPECT_TRUE(first.IsOpen());

    TQtSerialPortAccess second;
    second.SetPortNumber(7);
    try {
        second.OpenPort(true);
        ADD_FAILURE() << "a port held by another program opened";
    } catch (const TSerialError &error) {
        EXPECT_EQ(error.Kind(), TSerialError::TKind::PortInUse) << error.what();
    }
    second.SetPortNumber(8);
    try {
        second.OpenPort(true);
        ADD_FAILURE() << "a port without a device opened";
    } catch (const TSerialError &error) {
        EXPECT_EQ(error.Kind(), TSerialError::TKind::PortDoesNotExist) << error.what();
    }
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.OutputFree(), TSerialPortAccess::BufferSize);
    EXPECT_FALSE(second.DsrOn());
}

TEST_F(DeviceLinkTest, PortZeroAsksOnceAndKeepsTheChoice)
{
    const auto simulator = StartSimulator(7);
    TQtSerialPortAccess port;
    QList<QList<quint16>> offered;
    std::optional<quint16> answer;
    port.SetPortChooser([&](const QList<quint16> &ports) {
        offered.append(ports);
        return answer;
    });
    port.SetPortNumber(0);

    EXPECT_THROW(port.OpenPort(true), TSerialError);
    EXPECT_FALSE(port.IsOpen());
    answer = 7;
    port.OpenPort(true);
    EXPECT_TRUE(port.IsOpen());
    port.OpenPort(false);
    port.OpenPort(true);
    EXPECT_EQ(offered, (QList<QList<quint16>>{{7}, {7}}));
    EXPECT_EQ(port.PortNumber(), 7);
}

// With no link at all the chooser is still asked (it may link a device); cancelled, the open fails
// saying that nothing is set up.
TEST_F(DeviceLinkTest, PortZeroWithNoPortAtAllStillOffersTheChooser)
{
    TQtSerialPortAccess port;
    QList<QList<quint16>> offered;
    port.SetPortChooser([&](const QList<quint16> &ports) {
        offered.append(ports);
        return std::optional<quint16>();
    });
    port.SetPortNumber(0);
    try {
        port.OpenPort(true);
        ADD_FAILURE() << "opened with nothing set up";
    } catch (const TSerialError &error) {
        EXPECT_TRUE(error.Message().startsWith("No serial port is set up among COM1 to COM50"))
            << error.what();
    }
    EXPECT_EQ(offered, QList<QList<quint16>>{{}});
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(DeviceLinkTest, MovingAnOpenPortKeepsItsDataHandler)
{
    const auto first = StartSimulator(7);
    const auto second = StartSimulator(8);
    TStation station(7);
    station.engine.SetPortOpen(true);
    ASSERT_EQ(second->Control(QStringLiteral("record")), QStringLiteral("ok record"));

    station.engine.SetPortNumber(8);
    station.engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return !station.replies.isEmpty(); }));
    EXPECT_TRUE(station.replies.first().endsWith('1')) << "the reply came from the old port";
}

} // namespace

// An error that escapes the reply handler goes to the port's report, not to the event loop; a device
// that vanishes closes the port when the next poll meets it, so that the next open finds out whether it is
// back.
TEST_F(DeviceLinkTest, HandlerErrorsAreReportedAndAVanishedDeviceClosesThePort)
{
    const auto simulator = StartSimulator(99);
    auto portAccess = std::make_unique<TQtSerialPortAccess>();
    TQtSerialPortAccess *port = portAccess.get();
    QStringList reported;
    port->SetErrorReport([&](const QString &message) { reported.append(message); });
    TPortManagerRS232 engine(std::move(portAccess), std::make_unique<TQtEngineTimer>(),
                             std::make_unique<TQtEngineTimer>());
    engine.SetPortNumber(99);
    engine.SetBaudRate(19200);
    engine.SetOnSuccess([](TPortManagerRS232 &) { throw std::runtime_error("handler failed"); });
    engine.SetPortOpen(true);
    engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return !reported.isEmpty(); }));
    EXPECT_EQ(reported, QStringList(QStringLiteral("handler failed")));

    ASSERT_EQ(simulator->Control(QStringLiteral("vanish 0")), QStringLiteral("ok vanish 0"));
    ASSERT_EQ(simulator->NextLine(), QStringLiteral("vanished"));
    // The next poll meets the vanished device.
    engine.SetCommand("BR00");
    ASSERT_TRUE(WaitUntil([&] { return !port->IsOpen(); }));
    EXPECT_FALSE(QFileInfo::exists(TPortDirectory::LinkPath(99)));
}
