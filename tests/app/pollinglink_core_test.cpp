#include "app/measurementcycle.h"
#include "app/pollinglink.h"
#include "devicelink/portmanagerrs232.h"
#include "fakeclock.h"
#include "fakeserialport.h"

#include <gtest/gtest.h>

namespace {

using TKind = TSerialError::TKind;
using TState = TPollingLink::TState;

const QByteArray kGood = "?R  12345  -2000      00";
const QByteArray kBadX = "?R 0x1.-2  -2000      00";

// The window's wiring of the cycle on a port manager with the station's settings, on a fake port and
// fake timers: replies go through TMeasurementCycle to the link, failures straight to it.
class PollingLinkTest : public ::testing::Test
{
protected:
    TFakeClock clock;
    TFakeSerialPort *port = nullptr;
    std::unique_ptr<TPortManagerRS232> engine;
    TFakeTimer pollTimer{clock};
    TMeasurementCycle cycle;
    std::unique_ptr<TPollingLink> link;
    QList<TLinkStatus> shown;

    void SetUp() override
    {
        auto fakePort = std::make_unique<TFakeSerialPort>();
        port = fakePort.get();
        port->Now = [this] { return clock.Now(); };
        engine = std::make_unique<TPortManagerRS232>(std::move(fakePort), std::make_unique<TFakeTimer>(clock),
                                                     std::make_unique<TFakeTimer>(clock));
        engine->SetBaudRate(19200);
        engine->SetTTimeout(1000);
        engine->SetRTimeout(1000);
        engine->SetMaxTransmitAttempts(1);
        engine->SetMaxReceiveAttempts(1);
        link = std::make_unique<TPollingLink>(*engine, pollTimer, [this] { return cycle.NextCommand(); });
        link->SetStatusHandler([this](const TLinkStatus &status) { shown.append(status); });
        engine->SetOnSuccess([this](TPortManagerRS232 &sender) {
            TCycleState toggles;
            toggles.OnLine = link->OnLine();
            link->ReplyTaken(cycle.ProcessReply(sender.Reply(), toggles, TCalibration{}), sender.Reply());
        });
        engine->SetOnFail([this](TPortManagerRS232 &sender) { link->PollFailed(sender.FailText()); });
    }

    void Answer(const QByteArray &reply) { port->Deliver(reply + '\r'); }

    qint64 LastWriteAt() const { return port->WrittenAt.isEmpty() ? -1 : port->WrittenAt.last(); }
};

TEST_F(PollingLinkTest, GoodRepliesPollEvery150Milliseconds)
{
    ASSERT_FALSE(link->GoOnLine());
    EXPECT_EQ(port->Written, QList<QByteArray>{"BR00\r"});
    EXPECT_EQ(link->Status(), (TLinkStatus{TPollingLink::WaitingText(), {}, true}));
    Answer(kGood);
    EXPECT_EQ(link->Status(), TLinkStatus{});
    cycle.ZeroClicked();
    clock.Advance(149);
    EXPECT_EQ(port->Written.size(), 1);
    clock.Advance(1);
    EXPECT_EQ(port->Written.last(), "BZ00\r");
    EXPECT_EQ(LastWriteAt(), 150);
}

// A poll that fails is tried again every second, while the status line says so; the first good
// reply brings back the normal pace and clears the status.
TEST_F(PollingLinkTest, FailedPollsAreRetriedEverySecondUntilAGoodReply)
{
    link->GoOnLine();
    clock.Advance(1000); // no reply: the port manager gives up
    EXPECT_EQ(link->State(), TState::Retrying);
    EXPECT_EQ(link->Status(),
              (TLinkStatus{QStringLiteral("No reply from the device - trying again every second"),
                           QStringLiteral("R: No Reply"), true}));
    // The reply timeout has waited a second already: the retry follows at once.
    clock.Advance(1);
    EXPECT_EQ(port->Written.size(), 2);
    clock.Advance(2000); // the retries are not answered either
    EXPECT_EQ(port->WrittenAt, (QList<qint64>{0, 1001, 2002}));

    Answer(kGood);
    EXPECT_EQ(link->State(), TState::Polling);
    EXPECT_EQ(link->Status(), TLinkStatus{});
    clock.Advance(150);
    EXPECT_EQ(port->WrittenAt.last(), 3151);
}

TEST_F(PollingLinkTest, UnreadableReplyIsRetriedAndALostPointIsToldUntilTheNextPoint)
{
    link->GoOnLine();
    Answer(kBadX);
    EXPECT_EQ(link->State(), TState::Retrying);
    EXPECT_EQ(link->Status().Text,
              QStringLiteral("A reply from the device could not be read - trying again every second"));
    EXPECT_EQ(link->Status().Detail, QStringLiteral("R: Unreadable reply \"?R 0x1.-2  -2000      00\""));
    EXPECT_TRUE(link->Status().Stale);
    clock.Advance(999);
    EXPECT_EQ(port->Written.size(), 1);
    clock.Advance(1);
    EXPECT_EQ(port->Written.size(), 2);

    // A signalled point in an unreadable reply: the notice stays after good replies, until a point
    // is recorded.
    Answer(kBadX.chopped(1) + '1');
    EXPECT_TRUE(
        link->Status().Text.startsWith(QStringLiteral("A point the device signalled could not be read")));
    clock.Advance(1000);
    Answer(kGood);
    EXPECT_EQ(
        link->Status(),
        (TLinkStatus{QStringLiteral("A point the device signalled could not be read and was not recorded - "
                                    "record it again"),
                     {},
                     false}));
    clock.Advance(150);
    Answer(kGood.chopped(1) + '1');
    EXPECT_EQ(link->Status(), TLinkStatus{});
}

// Releasing "On Line" with a poll in flight: its give-up changes nothing, and nothing is sent again.
TEST_F(PollingLinkTest, FailureAfterGoingOffLineChangesNothing)
{
    link->GoOnLine();
    link->GoOffLine();
    const TLinkStatus offLine{TPollingLink::OffLineText(), {}, true};
    EXPECT_EQ(link->Status(), offLine);
    clock.Advance(10000);
    EXPECT_EQ(link->Status(), offLine);
    EXPECT_EQ(link->State(), TState::OffLine);
    EXPECT_EQ(port->Written.size(), 1);
    EXPECT_FALSE(pollTimer.IsActive());
}

// The device unplugged: its port cannot be opened; it is tried every two seconds until it is back.
TEST_F(PollingLinkTest, VanishedPortIsReopenedEveryTwoSeconds)
{
    int alerts = 0;
    link->SetHandOverAlert([&] { ++alerts; });
    link->GoOnLine();
    Answer(kGood);
    port->OpenPort(false); // the serial layer closes a port whose device is gone
    port->OpenError =
        TSerialError(TKind::PortDoesNotExist, QStringLiteral("Serial port COM99 does not exist"));
    clock.Advance(150);
    EXPECT_EQ(link->State(), TState::Reopening);
    EXPECT_EQ(link->Status(),
              (TLinkStatus{QStringLiteral("The device is not connected - trying again every 2 seconds"),
                           QStringLiteral("Serial port COM99 does not exist"), true}));
    clock.Advance(4000);
    EXPECT_EQ(port->Written.size(), 1);
    // The chime sounds when the trouble begins, not at every try.
    EXPECT_EQ(alerts, 1);

    port->OpenError.reset();
    clock.Advance(2000);
    EXPECT_EQ(port->Written.size(), 2);
    EXPECT_EQ(LastWriteAt(), 6150);
    Answer(kGood);
    EXPECT_EQ(link->State(), TState::Polling);
    EXPECT_EQ(link->Status(), TLinkStatus{});
}

struct TOpenCase
{
    const char *Name;
    TKind Kind;
    bool ErrorBox;
    TState After;
};

void PrintTo(const TOpenCase &c, std::ostream *os)
{
    *os << c.Name;
}

class PollingLinkOpen : public PollingLinkTest, public testing::WithParamInterface<TOpenCase>
{
};

// Pressing "On Line": a missing device is waited for; a port that is there but refuses is the
// operator's to put right.
TEST_P(PollingLinkOpen, DecidesBetweenWaitingAndStalling)
{
    const TOpenCase &c = GetParam();
    port->OpenError = TSerialError(c.Kind, QStringLiteral("cannot open"));
    const auto error = link->GoOnLine();
    EXPECT_EQ(error.has_value(), c.ErrorBox);
    EXPECT_EQ(link->State(), c.After);
    port->OpenError.reset();
    clock.Advance(2000);
    EXPECT_EQ(port->Written.size(), c.After == TState::Reopening ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PollingLinkOpen,
    testing::Values(TOpenCase{"Missing", TKind::PortDoesNotExist, false, TState::Reopening},
                    TOpenCase{"InUse", TKind::PortInUse, true, TState::Stalled},
                    TOpenCase{"NoneChosen", TKind::NoPortSelected, true, TState::Stalled}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(PollingLinkTest, WriteErrorIsRetriedEverySecond)
{
    link->GoOnLine();
    Answer(kGood);
    port->WriteErrorAlways = TKind::Other;
    clock.Advance(150);
    EXPECT_EQ(link->State(), TState::Retrying);
    EXPECT_EQ(link->Status().Text, QStringLiteral("Cannot send to the device - trying again every second"));
    // The failed transaction still ends by its reply timeout, a second later; the retry follows it.
    port->WriteErrorAlways.reset();
    clock.Advance(1001);
    ASSERT_EQ(port->Written.size(), 2);
    Answer(kGood);
    EXPECT_EQ(link->Status(), TLinkStatus{});
}

} // namespace
