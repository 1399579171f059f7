#include "app/measurementcycle.h"

#include <gtest/gtest.h>

namespace {

// Fields of the replies below: X 12345, Y -2000, Z 0 in the device's thousandths.
QByteArray Position(char status)
{
    return QByteArray("?R  12345  -2000      0") + status;
}

TCycleState Measuring()
{
    TCycleState s;
    s.OnLine = true;
    s.Calibrated = false;
    s.MeasurePoint = true;
    return s;
}

TCycleState With(TCycleState s, bool measure, bool lockX = false, bool lockY = false, bool lockZ = false)
{
    s.MeasurePoint = measure;
    s.LockX = lockX;
    s.LockY = lockY;
    s.LockZ = lockZ;
    return s;
}

struct TReplyCase
{
    const char *Name;
    TCycleState Toggles;
    QByteArray Pending;
    QByteArray Reply;
    bool IsPosition;
    bool Chime;
    bool Record;
    bool Beep;
    QByteArray NextAfter;
    bool IgnoredPoint;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TReplyCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CycleReply : public testing::TestWithParam<TReplyCase>
{
};

TEST_P(CycleReply, Decides)
{
    const TReplyCase &c = GetParam();
    TMeasurementCycle cycle;
    // Queue the pending command the way a button does.
    if (c.Pending == "BZ00")
        cycle.ZeroClicked();
    else if (c.Pending == "BU10")
        cycle.JoystickClicked(true);
    else if (c.Pending == "BJ00")
        cycle.LockClicked(TMeasurementCycle::TAxis::X, With(c.Toggles, c.Toggles.MeasurePoint, true));
    else if (c.Pending == "BM00")
        cycle.LockClicked(TMeasurementCycle::TAxis::X, With(c.Toggles, c.Toggles.MeasurePoint));
    else if (c.Pending.startsWith("BS")) {
        ASSERT_TRUE(cycle.GoToClicked(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")));
    }
    ASSERT_EQ(cycle.NextCommand(), c.Pending);

    const TReplyActions a = cycle.ProcessReply(c.Reply, c.Toggles, TCalibration{});
    EXPECT_TRUE(a.Handled);
    EXPECT_EQ(a.Position.has_value(), c.IsPosition);
    if (c.IsPosition) {
        EXPECT_EQ(a.Readouts[0], QStringLiteral("-12.345"));
        EXPECT_EQ(a.Readouts[1], QStringLiteral("2.000"));
        EXPECT_EQ(a.Readouts[2], QStringLiteral("0.000"));
    }
    EXPECT_EQ(a.Chime, c.Chime);
    EXPECT_EQ(a.Record, c.Record);
    EXPECT_EQ(a.IgnoredPoint, c.IgnoredPoint);
    EXPECT_EQ(a.Beep, c.Beep);
    EXPECT_EQ(cycle.NextCommand(), c.NextAfter);
    EXPECT_TRUE(a.StartPoll);
}

const TCycleState kMeasure = Measuring();
const TCycleState kGoToUse = With(Measuring(), false);

INSTANTIATE_TEST_SUITE_P(
    Cases, CycleReply,
    testing::Values(
        // name, toggles, pending, reply, position, chime, record, beep, next command, point ignored
        TReplyCase{"PlainPosition", kMeasure, "BR00", Position('0'), true, false, false, false, "BR00",
                   false},
        TReplyCase{"StatusOneRecords", kMeasure, "BR00", Position('1'), true, false, true, false, "BR00",
                   false},
        TReplyCase{"StatusThreeChimes", kMeasure, "BR00", Position('3'), true, true, false, false, "BR00",
                   false},
        TReplyCase{"StatusFourChimes", kMeasure, "BR00", Position('4'), true, true, false, false, "BR00",
                   false},
        TReplyCase{"StatusSixChimes", kMeasure, "BR00", Position('6'), true, true, false, false, "BR00",
                   false},
        TReplyCase{"StatusTwoDoesNothing", kMeasure, "BR00", Position('2'), true, false, false, false, "BR00",
                   false},
        TReplyCase{"NoStatusRecordsNothing", kMeasure, "BR00", Position('1').chopped(1), true, false, false,
                   false, "BR00", false},
        TReplyCase{"MeasureUpIgnoresPosition", kGoToUse, "BR00", Position('1'), false, false, false, false,
                   "BR00", true},
        TReplyCase{"MeasureUpPlainPositionSaysNothing", kGoToUse, "BR00", Position('0'), false, false, false,
                   false, "BR00", false},
        TReplyCase{"AxisDownCountsPosition", With(kMeasure, false, false, true), "BR00", Position('1'), true,
                   false, true, false, "BR00", false},
        TReplyCase{"MalformedFieldIsNoPositionAndChimes", kMeasure, "BZ00", "?R  12x45  -2000      01", false,
                   true, false, false, "BZ00", false},
        TReplyCase{"MalformedFieldStillAcknowledges", With(kMeasure, true, true), "BJ00", "?J  12x45", false,
                   false, false, false, "BR00", false},
        TReplyCase{"LockXAcknowledged", With(kMeasure, true, true), "BJ00", "?J", false, false, false, false,
                   "BR00", false},
        TReplyCase{"LockXWrongLetter", With(kMeasure, true, true), "BJ00", "?K", false, false, false, false,
                   "BJ00", false},
        TReplyCase{"LockLetterNeedsItsButton", kMeasure, "BJ00", "?J", false, false, false, false, "BJ00",
                   false},
        TReplyCase{"FreeAxesAcknowledged", kMeasure, "BM00", "?M", false, false, false, false, "BR00", false},
        TReplyCase{"ZeroAcknowledgedWithBeep", kMeasure, "BZ00", "?Z", false, false, false, true, "BR00",
                   false},
        TReplyCase{"ZeroNotAcknowledgedInGoToUse", kGoToUse, "BZ00", "?Z", false, false, false, false, "BZ00",
                   false},
        TReplyCase{"JoystickAcknowledgedWithBeep", kMeasure, "BU10", "?U", false, false, false, true, "BR00",
                   false},
        TReplyCase{"JoystickLowerCaseIgnored", kMeasure, "BU10", "?u", false, false, false, false, "BU10",
                   false},
        TReplyCase{"GoToAcknowledgedWithBeep", kGoToUse, "BS 000001 000002 00000300", "?S", false, false,
                   false, true, "BR00", false},
        TReplyCase{"GoToNotAcknowledgedWhileMeasuring", kMeasure, "BS 000001 000002 00000300", "?S", false,
                   false, false, false, "BS 000001 000002 00000300", false},
        TReplyCase{"OneCharacterReply", kMeasure, "BZ00", "Z", false, false, false, false, "BZ00", false},
        TReplyCase{"EmptyReply", kMeasure, "BZ00", "", false, false, false, false, "BZ00", false}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(MeasurementCycle, AcknowledgmentDropsACommandQueuedMeanwhile)
{
    TMeasurementCycle cycle;
    cycle.ZeroClicked();         // BZ00 goes out with the next poll...
    cycle.JoystickClicked(true); // ...and Coarse is pressed before its reply comes
    EXPECT_EQ(cycle.NextCommand(), "BU10");
    cycle.ProcessReply("?Z", Measuring(), TCalibration{});
    EXPECT_EQ(cycle.NextCommand(), "BR00");
}

TEST(MeasurementCycle, ButtonsQueueTheirCommands)
{
    using TAxis = TMeasurementCycle::TAxis;
    TMeasurementCycle cycle;
    EXPECT_EQ(cycle.NextCommand(), "BR00");
    const TCycleState none = Measuring();
    cycle.LockClicked(TAxis::Y, With(none, true, false, true));
    EXPECT_EQ(cycle.NextCommand(), "BK00");
    // "X only" pressed while "Y only" was down: the group leaves X alone down.
    cycle.LockClicked(TAxis::X, With(none, true, true));
    EXPECT_EQ(cycle.NextCommand(), "BJ00");
    cycle.LockClicked(TAxis::X, none);
    EXPECT_EQ(cycle.NextCommand(), "BM00");
    cycle.LockClicked(TAxis::Z, With(none, true, false, false, true));
    EXPECT_EQ(cycle.NextCommand(), "BL00");
    cycle.JoystickClicked(false);
    EXPECT_EQ(cycle.NextCommand(), "BU50");
    cycle.ZeroClicked();
    EXPECT_EQ(cycle.NextCommand(), "BZ00");

    EXPECT_TRUE(cycle.GoToClicked(QStringLiteral("12.345"), QStringLiteral("-3.9"), QStringLiteral("0.500")));
    EXPECT_EQ(cycle.NextCommand(), "BS 000012-000003 00000000");
    EXPECT_FALSE(cycle.GoToClicked(QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("0")));
    EXPECT_FALSE(cycle.GoToClicked(QStringLiteral("1"), QStringLiteral("3e9"), QStringLiteral("0")));
    EXPECT_EQ(cycle.NextCommand(), "BS 000012-000003 00000000");
}

TEST(MeasurementCycle, LogoHeartbeatAndPoll)
{
    TMeasurementCycle cycle;
    TCycleState s = Measuring();
    s.Calibrated = true;
    auto a = cycle.ProcessReply("?Z", s, TCalibration{});
    EXPECT_EQ(a.Logo, TSignalColour::Green);
    EXPECT_EQ(a.Heartbeat, TSignalColour::Navy);
    s.Calibrated = false;
    s.OnLine = false;
    a = cycle.ProcessReply("", s, TCalibration{});
    EXPECT_EQ(a.Logo, TSignalColour::Red);
    EXPECT_EQ(a.Heartbeat, TSignalColour::Red);
    EXPECT_FALSE(a.StartPoll);
    EXPECT_EQ(cycle.ProcessReply("", s, TCalibration{}).Heartbeat, TSignalColour::Navy);
}

TEST(MeasurementCycle, ShuttingDownIgnoresEverything)
{
    TMeasurementCycle cycle;
    cycle.ZeroClicked();
    TCycleState s = Measuring();
    s.ShuttingDown = true;
    const TReplyActions a = cycle.ProcessReply("?Z", s, TCalibration{});
    EXPECT_FALSE(a.Handled);
    EXPECT_FALSE(a.StartPoll);
    EXPECT_FALSE(a.Beep);
    EXPECT_EQ(cycle.NextCommand(), "BZ00");
    s.ShuttingDown = false;
    EXPECT_EQ(cycle.ProcessReply("?Z", s, TCalibration{}).Heartbeat, TSignalColour::Navy);
}

TEST(MeasurementCycle, CalibratedOnlyWhileCalibratedIsDown)
{
    TMeasurementCycle cycle;
    const TCalibration doubled{2, 2, 2, 0, 0, 0};
    TCycleState s = Measuring();
    EXPECT_EQ(cycle.ProcessReply(Position('0'), s, doubled).Readouts[0], QStringLiteral("-12.345"));
    s.Calibrated = true;
    const TReplyActions a = cycle.ProcessReply(Position('0'), s, doubled);
    EXPECT_EQ(a.Readouts[0], QStringLiteral("-24.690"));
    EXPECT_EQ(a.Position, (TPoint3{-24.69f, 4.0f, -0.0f}));
}

TEST(MeasurementCycle, ReadingsBeyondTheFloatRangeAreNoPosition)
{
    TMeasurementCycle cycle;
    TCycleState s = Measuring();
    s.Calibrated = true;
    const TReplyActions a =
        cycle.ProcessReply("?R9999999      0      01", s, TCalibration{1e38f, 1, 1, 0, 0, 0});
    EXPECT_FALSE(a.Position);
    EXPECT_FALSE(a.Record);
    EXPECT_TRUE(a.LostPoint);
    EXPECT_TRUE(a.StartPoll);
}

struct TUnreadableCase
{
    const char *Name;
    TCycleState Toggles;
    QByteArray Reply;
    bool Unreadable;
    bool LostPoint;
};

void PrintTo(const TUnreadableCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CycleUnreadable : public testing::TestWithParam<TUnreadableCase>
{
};

// A reply that is no readable position greys the readouts; a point signalled in it is lost and told
// (the chime).
TEST_P(CycleUnreadable, Decides)
{
    const TUnreadableCase &c = GetParam();
    TMeasurementCycle cycle;
    const TReplyActions a = cycle.ProcessReply(c.Reply, c.Toggles, TCalibration{});
    EXPECT_EQ(a.Unreadable, c.Unreadable);
    EXPECT_EQ(a.LostPoint, c.LostPoint);
    EXPECT_EQ(a.Chime, c.LostPoint);
    EXPECT_FALSE(a.Record);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CycleUnreadable,
    testing::Values(
        // name, toggles, reply, unreadable, lost point
        TUnreadableCase{"MalformedField", kMeasure, "?R  12x45  -2000      00", true, false},
        TUnreadableCase{"MalformedFieldSignalsAPoint", kMeasure, "?R  12x45  -2000      01", true, true},
        TUnreadableCase{"AxisDownCountsIt", With(kMeasure, false, true), "?R  12x45  -2000      01", true,
                        true},
        TUnreadableCase{"NotAPositionInGoToUse", kGoToUse, "?R  12x45  -2000      01", false, false},
        TUnreadableCase{"UnknownLetter", kMeasure, "\x01\xfe  12345", true, false},
        TUnreadableCase{"NoLetter", kMeasure, "R", true, false},
        TUnreadableCase{"Acknowledgment", kMeasure, "?Z", false, false},
        TUnreadableCase{"StatusTwoGood", kMeasure, Position('2'), false, false}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
