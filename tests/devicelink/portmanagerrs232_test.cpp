#include "common/globalprocedures.h"
#include "devicelink/portmanagerrs232.h"
#include "fakeclock.h"
#include "fakeserialport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <optional>

namespace {

using TKind = TSerialError::TKind;
using TArrowColour = TPortManagerDisplay::TArrowColour;

class TRecordingDisplay : public TPortManagerDisplay
{
public:
    TArrowColour TransmitArrow = TArrowColour::White;
    TArrowColour ReceiveArrow = TArrowColour::White;
    QStringList TransmitTries;
    QStringList ReceiveTries;
    QByteArray ErrorText;
    bool Busy = false;

    void ShowTransmitArrow(TArrowColour colour) override { TransmitArrow = colour; }
    void ShowReceiveArrow(TArrowColour colour) override { ReceiveArrow = colour; }
    void ShowConnectionState(TConnectionPicture) override {}
    void ShowCommand(const QByteArray &) override {}
    void ShowReply(const QByteArray &) override {}
    void ShowTransmitTries(const QString &text) override { TransmitTries.append(text); }
    void ShowReceiveTries(const QString &text) override { ReceiveTries.append(text); }
    void ShowErrorText(const QByteArray &text) override { ErrorText = text; }
    void ShowBusy(bool busy) override { Busy = busy; }
    void ShowSetting(TSetting, const QString &) override {}
};

class PortManagerTest : public ::testing::Test
{
protected:
    TFakeClock clock;
    TFakeSerialPort *port = nullptr;
    std::unique_ptr<TPortManagerRS232> engine;
    TRecordingDisplay display;

    QList<QByteArray> replies;
    QList<qint64> successTimes;
    QList<qint64> failTimes;
    QList<QByteArray> failTexts;
    QList<bool> busyInOnFail;
    QList<QString> reported;

    void SetUp() override
    {
        auto fakePort = std::make_unique<TFakeSerialPort>();
        port = fakePort.get();
        port->Now = [this] { return clock.Now(); };
        engine = std::make_unique<TPortManagerRS232>(std::move(fakePort), std::make_unique<TFakeTimer>(clock),
                                                     std::make_unique<TFakeTimer>(clock));
        engine->SetDisplay(&display);
        engine->SetOnSuccess([this](TPortManagerRS232 &sender) {
            replies.append(sender.Reply());
            successTimes.append(clock.Now());
        });
        engine->SetOnFail([this](TPortManagerRS232 &sender) {
            failTimes.append(clock.Now());
            failTexts.append(sender.FailText());
            busyInOnFail.append(sender.Busy());
        });
        engine->SetErrorReport([this](const TSerialError &error) { reported.append(error.Message()); });
    }

    // As the main window sets up its port manager.
    void UseStationSettings()
    {
        engine->SetBaudRate(19200);
        engine->SetMaxTransmitAttempts(1);
        engine->SetMaxReceiveAttempts(1);
    }
};

TEST_F(PortManagerTest, ReplyEndsTransactionOnceAndNothingFollows)
{
    UseStationSettings();
    engine->SetCommand("BR00");
    EXPECT_TRUE(engine->Busy());
    ASSERT_EQ(port->Written, QList<QByteArray>{"BR00\r"});

    clock.Advance(400);
    port->Deliver("BR 000012-000003 0000000\r");
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(replies, QList<QByteArray>{"BR 000012-000003 0000000"});

    // The reply timeout must be gone with the transaction: no retry, no late OnFail.
    clock.Advance(60000);
    EXPECT_EQ(port->Written.size(), 1);
    EXPECT_TRUE(failTimes.isEmpty());
    EXPECT_EQ(successTimes.size(), 1);
}

TEST_F(PortManagerTest, CommandWhileBusyIsIgnored)
{
    engine->SetCommand("BR00");
    clock.Advance(10);
    engine->SetCommand("BZ00");
    EXPECT_EQ(engine->Command(), "BR00");
    EXPECT_EQ(port->Written.size(), 1);
    EXPECT_EQ(engine->ReceiveTries(), 1);
}

TEST_F(PortManagerTest, SuccessHandlerMayStartTheNextTransactionAtOnce)
{
    engine->SetOnSuccess([this](TPortManagerRS232 &sender) {
        replies.append(sender.Reply());
        if (replies.size() < 3)
            sender.SetCommand("BR00");
    });
    engine->SetCommand("BR00");
    port->Deliver("A\r");
    port->Deliver("B\r");
    port->Deliver("C\r");
    EXPECT_EQ(replies, (QList<QByteArray>{"A", "B", "C"}));
    EXPECT_EQ(port->Written.size(), 3);
    EXPECT_FALSE(engine->Busy());
}

// --- The reply timeout: how often the command goes out, and when the transaction is given up.

struct TTimeoutCase
{
    const char *name;
    quint16 maxReceiveAttempts;
    quint16 rTimeout;
    QByteArray failText;
};

void PrintTo(const TTimeoutCase &c, std::ostream *out)
{
    *out << c.name;
}

class ReceiveTimeoutTest : public PortManagerTest, public ::testing::WithParamInterface<TTimeoutCase>
{
};

TEST_P(ReceiveTimeoutTest, WritesEachAttemptThenFailsOnce)
{
    const TTimeoutCase &c = GetParam();
    engine->SetMaxReceiveAttempts(c.maxReceiveAttempts);
    engine->SetRTimeout(c.rTimeout);
    engine->SetCommand("BR00");

    clock.Advance(qint64(c.maxReceiveAttempts) * c.rTimeout - 1);
    QList<qint64> expectedWrites;
    for (int i = 0; i < c.maxReceiveAttempts; ++i)
        expectedWrites.append(qint64(i) * c.rTimeout);
    EXPECT_EQ(port->WrittenAt, expectedWrites);
    EXPECT_TRUE(failTimes.isEmpty());
    EXPECT_EQ(display.ReceiveTries.last(), QStringLiteral("#%1").arg(c.maxReceiveAttempts));

    clock.Advance(1);
    EXPECT_EQ(failTimes, QList<qint64>{qint64(c.maxReceiveAttempts) * c.rTimeout});
    EXPECT_EQ(failTexts, QList<QByteArray>{c.failText});
    EXPECT_EQ(busyInOnFail, QList<bool>{true});
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(display.ReceiveArrow, TArrowColour::Red);

    clock.Advance(100 * qint64(c.rTimeout));
    EXPECT_EQ(failTimes.size(), 1);
    EXPECT_EQ(port->Written.size(), c.maxReceiveAttempts);
}

INSTANTIATE_TEST_SUITE_P(Attempts, ReceiveTimeoutTest,
                         ::testing::Values(TTimeoutCase{"OneAttempt", 1, 1000, "R: No Reply"},
                                           TTimeoutCase{"ThreeAttempts", 3, 1000, "R: No Reply"},
                                           TTimeoutCase{"ShortTimeout", 2, 250, "R: No Reply"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortManagerTest, FailedWritesDoNotMakeTheReceiveGiveUpRepeat)
{
    // The first write goes out, every retry of it is refused: the transmit timer runs alongside the
    // reply timeout, and the give-up must end both.
    engine->SetMaxReceiveAttempts(2);
    engine->SetTTimeout(300);
    engine->SetCommand("BR00");
    port->WriteErrorAlways = TKind::PutBlockFailure;

    clock.Advance(20000);
    EXPECT_EQ(failTimes.size(), 1);
    EXPECT_EQ(port->Written.size(), 1);
    EXPECT_FALSE(engine->Busy());

    // And a line that works again carries the next transaction.
    port->WriteErrorAlways.reset();
    engine->SetCommand("BR00");
    port->Deliver("ok\r");
    EXPECT_EQ(replies, QList<QByteArray>{"ok"});
}

// --- The DSR line: checked before each attempt when watched.

struct TDsrCase
{
    const char *name;
    bool viaSendButton;
    quint16 maxTransmitAttempts;
    qint64 giveUpAt;
};

void PrintTo(const TDsrCase &c, std::ostream *out)
{
    *out << c.name;
}

class DsrDownTest : public PortManagerTest, public ::testing::WithParamInterface<TDsrCase>
{
};

TEST_P(DsrDownTest, GivesUpAfterTheRightNumberOfChecks)
{
    const TDsrCase &c = GetParam();
    engine->SetUseDSR(true);
    engine->SetMaxTransmitAttempts(c.maxTransmitAttempts);
    if (c.viaSendButton)
        engine->SendTestCommand("BR00");
    else
        engine->SetCommand("BR00");

    clock.AdvanceTo(c.giveUpAt + 10 * 1000);
    EXPECT_TRUE(port->Written.isEmpty());
    EXPECT_EQ(failTimes, QList<qint64>{c.giveUpAt});
    EXPECT_EQ(failTexts, QList<QByteArray>{"T: DSR down"});
    EXPECT_EQ(busyInOnFail, QList<bool>{false});
    EXPECT_TRUE(engine->Reply().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Checks, DsrDownTest,
                         ::testing::Values(TDsrCase{"CommandTwoAttempts", false, 2, 2000},
                                           TDsrCase{"CommandOneAttempt", false, 1, 1000},
                                           TDsrCase{"SendOneAttempt", true, 1, 0},
                                           TDsrCase{"SendThreeAttempts", true, 3, 2000}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortManagerTest, DsrComingOnLetsTheNextAttemptWrite)
{
    engine->SetUseDSR(true);
    engine->SetMaxTransmitAttempts(5);
    engine->SetCommand("BR00");
    clock.Advance(1000);
    EXPECT_EQ(display.TransmitTries.last(), "#2");
    port->Dsr = true;
    clock.Advance(1000);
    EXPECT_EQ(port->WrittenAt, QList<qint64>{2000});
    EXPECT_EQ(engine->TransmitTries(), 0);
    port->Deliver("R\r");
    EXPECT_EQ(replies, QList<QByteArray>{"R"});
}

// --- Write errors are told apart and retried.

struct TWriteErrorCase
{
    const char *name;
    TKind kind;
    QByteArray errorText;
    TArrowColour arrow;
};

void PrintTo(const TWriteErrorCase &c, std::ostream *out)
{
    *out << c.name;
}

class WriteErrorTest : public PortManagerTest, public ::testing::WithParamInterface<TWriteErrorCase>
{
};

TEST_P(WriteErrorTest, ShownAndRetriedUntilTheWriteGoesOut)
{
    const TWriteErrorCase &c = GetParam();
    engine->SetTTimeout(100);
    port->Open = true;
    port->WriteErrors = {c.kind};
    engine->SetCommand("BR00");
    EXPECT_EQ(engine->ErrorText(), c.errorText);
    EXPECT_EQ(display.TransmitArrow, c.arrow);
    EXPECT_TRUE(port->Written.isEmpty());

    clock.Advance(100);
    EXPECT_EQ(port->Written, QList<QByteArray>{"BR00\r"});
    EXPECT_TRUE(engine->ErrorText().isEmpty());
    port->Deliver("R\r");
    EXPECT_EQ(replies.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WriteErrorTest,
    ::testing::Values(
        TWriteErrorCase{"PutBlock", TKind::PutBlockFailure, "T: Block Fail", TArrowColour::Aqua},
        TWriteErrorCase{"BufferSize", TKind::OutputBufferTooSmall, "T: Buffer Size", TArrowColour::Fuchsia},
        TWriteErrorCase{"NotOpen", TKind::PortNotOpen, "T: Bad Handle", TArrowColour::Blue},
        TWriteErrorCase{"NoPort", TKind::NoPortSelected, "T: Bad Handle", TArrowColour::Blue}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortManagerTest, AnUnexpectedWriteErrorReachesTheCaller)
{
    port->Open = true;
    port->WriteErrors = {TKind::Other};
    EXPECT_THROW(engine->SetCommand("BR00"), TSerialError);
}

// --- Opening fails inside a command.

TEST_F(PortManagerTest, FailedOpenInCommandReturnsToReady)
{
    port->OpenError = TSerialError(TKind::PortDoesNotExist, "Serial port COM5 does not exist");
    EXPECT_THROW(engine->SetCommand("BR00"), TSerialError);
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(display.Busy);

    // The operator plugs the device in and goes on line again: the next command is a transaction.
    port->OpenError.reset();
    engine->SetPortOpen(true);
    engine->SetCommand("BR00");
    EXPECT_EQ(port->Written.size(), 1);
    EXPECT_TRUE(engine->Busy());
}

TEST_F(PortManagerTest, FailedOpenOnSendLeavesTheManagerAsItWas)
{
    port->OpenError = TSerialError(TKind::PortInUse, "in use");
    EXPECT_THROW(engine->SendTestCommand("BJ00"), TSerialError);
    EXPECT_FALSE(engine->Busy());
    EXPECT_TRUE(engine->PortOpen()); // the written value stays even though opening failed
    port->OpenError.reset();
    engine->SendTestCommand("BJ00");
    EXPECT_EQ(port->Written, QList<QByteArray>{"BJ00\r"});
}

TEST_F(PortManagerTest, PortThatStaysAwayOnARetryEndsTheTransactionOnce)
{
    engine->SetMaxReceiveAttempts(3);
    engine->SetMaxTransmitAttempts(1);
    engine->SetCommand("BR00");
    engine->SetPortOpen(false);
    port->OpenError = TSerialError(TKind::PortDoesNotExist, "gone");

    clock.Advance(60000);
    EXPECT_EQ(failTimes.size(), 1);
    ASSERT_EQ(failTexts.size(), 1);
    EXPECT_TRUE(failTexts.first().startsWith("T: "));
    EXPECT_FALSE(reported.isEmpty());
    EXPECT_FALSE(engine->Busy());
}

TEST_F(PortManagerTest, ClosingDuringATransactionReopensOnTheNextAttempt)
{
    engine->SetMaxReceiveAttempts(2);
    engine->SetCommand("BR00");
    engine->SetPortOpen(false);
    clock.Advance(1000);
    EXPECT_TRUE(port->Open);
    EXPECT_EQ(port->Opens, 2);
    EXPECT_EQ(port->Written.size(), 2);
}

// --- A framed command that does not fit the output buffer.

struct TBufferCase
{
    const char *name;
    quint16 maxTransmitAttempts;
    qint64 giveUpAt;
};

void PrintTo(const TBufferCase &c, std::ostream *out)
{
    *out << c.name;
}

class CommandTooLongTest : public PortManagerTest, public ::testing::WithParamInterface<TBufferCase>
{
};

TEST_P(CommandTooLongTest, EndsAsATransmitFailure)
{
    const TBufferCase &c = GetParam();
    engine->SetMaxTransmitAttempts(c.maxTransmitAttempts);
    engine->SetCommand(QByteArray(TSerialPortAccess::BufferSize, 'B'));
    clock.Advance(c.giveUpAt + 60000);
    EXPECT_TRUE(port->Written.isEmpty());
    EXPECT_EQ(failTimes, QList<qint64>{c.giveUpAt});
    EXPECT_EQ(failTexts, QList<QByteArray>{"T: Buffer Size"});
    EXPECT_FALSE(engine->Busy());

    engine->SetCommand("BR00");
    EXPECT_EQ(port->Written.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Attempts, CommandTooLongTest,
                         ::testing::Values(TBufferCase{"NoRetry", 0, 0}, TBufferCase{"OneAttempt", 1, 1000},
                                           TBufferCase{"ThreeAttempts", 3, 3000}),
                         [](const auto &info) { return std::string(info.param.name); });

// --- Reply assembly: the same replies however the bytes are cut into notifications.

struct TAssemblyCase
{
    const char *name;
    QByteArray endSequence;
    qint32 count;
    QList<QByteArray> chunks;
    QList<QByteArray> replies;
    // Set: the end sequence changes to it after the first chunk.
    std::optional<QByteArray> endSequenceAfterFirstChunk = std::nullopt;
};

void PrintTo(const TAssemblyCase &c, std::ostream *out)
{
    *out << c.name;
}

class ReplyAssemblyTest : public PortManagerTest, public ::testing::WithParamInterface<TAssemblyCase>
{
};

TEST_P(ReplyAssemblyTest, CollectsUpToTheEndSequences)
{
    const TAssemblyCase &c = GetParam();
    engine->SetReceiveEndSequence(c.endSequence);
    engine->SetNumberOfReceiveEndSequences(c.count);
    port->Open = true;
    for (const QByteArray &chunk : c.chunks) {
        port->Deliver(chunk);
        if (c.endSequenceAfterFirstChunk && &chunk == &c.chunks.first())
            engine->SetReceiveEndSequence(*c.endSequenceAfterFirstChunk);
    }
    EXPECT_EQ(replies, c.replies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyAssemblyTest,
    ::testing::Values(TAssemblyCase{"OneLine", "\r", 1, {"ABC\r"}, {"ABC"}},
                      TAssemblyCase{"ByteByByte", "\r", 1, {"A", "B", "C", "\r"}, {"ABC"}},
                      TAssemblyCase{"TwoInOneNotification", "\r", 1, {"R1\rR2\r"}, {"R1", "R2"}},
                      TAssemblyCase{"TwoEndSequences", "\r", 2, {"A\r", "B\r"}, {"AB"}},
                      TAssemblyCase{"SplitEndSequence", "\r\n", 1, {"AB\r", "\nCD\r\n"}, {"AB", "CD"}},
                      TAssemblyCase{"OverlappingOccurrences", "aa", 2, {"xaaa"}, {"xa"}},
                      TAssemblyCase{"TailStartsTheNextReply", "\r", 1, {"A\rB", "C\r"}, {"A", "BC"}},
                      TAssemblyCase{"EmptyEndSequenceNeverEnds", "", 1, {"ABC\r"}, {}},
                      // Two CRs wait when CR becomes the end sequence: more than needed still completes.
                      TAssemblyCase{"EndSequenceChangedMidReply", "\r\n", 1, {"A\rB\r", "C"}, {"ABC"}, "\r"}),
    [](const auto &info) { return std::string(info.param.name); });

// The running count must give exactly what counting over the whole buffer after each byte gives.
TEST_F(PortManagerTest, RunningCountMatchesARecountOfTheBuffer)
{
    QRandomGenerator random(20240607);
    const QList<QByteArray> sequences = {"\r", "ab", "aa", "aba", "\r\n"};
    const QByteArray alphabet = "ab\r\nx";
    port->Open = true;
    for (int round = 0; round < 200; ++round) {
        const QByteArray sequence = sequences.at(random.bounded(int(sequences.size())));
        const qint32 count = 1 + random.bounded(3);
        engine->SetReceiveEndSequence(sequence);
        engine->SetNumberOfReceiveEndSequences(count);
        QByteArray bytes;
        for (int i = 0; i < 60; ++i)
            bytes.append(alphabet.at(random.bounded(int(alphabet.size()))));

        QList<QByteArray> expected;
        QByteArray buffer;
        for (char byte : bytes) {
            buffer.append(byte);
            if (CountOccurrences(sequence, buffer) == count) {
                expected.append(RemoveAll(sequence, buffer));
                buffer.clear();
            }
        }
        replies.clear();
        qsizetype at = 0;
        while (at < bytes.size()) {
            const qsizetype length = 1 + random.bounded(7);
            port->Deliver(bytes.mid(at, length));
            at += length;
        }
        ASSERT_EQ(replies, expected) << "sequence " << sequence.toStdString() << " count " << count;
        // Empty the buffer for the next round: with no end sequence and a count of 0 any byte ends it.
        engine->SetReceiveEndSequence("");
        engine->SetNumberOfReceiveEndSequences(0);
        port->Deliver("z");
    }
}

TEST_F(PortManagerTest, OverflowDropsUpToTheNextEndSequence)
{
    engine->SetCommand("BR00");
    port->Deliver(QByteArray(TPortManagerRS232::MaxReceiveBuffer + 100, 'A'));
    EXPECT_EQ(engine->ErrorText(), "R: Buffer Overflow");
    EXPECT_TRUE(replies.isEmpty());
    EXPECT_TRUE(engine->Busy());

    port->Deliver("tail of the flood\r");
    EXPECT_TRUE(replies.isEmpty());
    port->Deliver("BR 000001 000002 0000030\r");
    EXPECT_EQ(replies, QList<QByteArray>{"BR 000001 000002 0000030"});
}

} // namespace
