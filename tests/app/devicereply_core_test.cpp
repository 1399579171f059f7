#include "app/devicereply.h"
#include "common/coordinatetext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct TReplyCase
{
    const char *Name;
    QByteArray Reply;
    std::optional<TPositionReply> Expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TReplyCase &c, std::ostream *os)
{
    *os << c.Name;
}

class PositionReply : public testing::TestWithParam<TReplyCase>
{
};

TEST_P(PositionReply, Decodes)
{
    EXPECT_EQ(DecodePositionReply(GetParam().Reply), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PositionReply,
    testing::Values(
        //                     "12345678901234567890123456"
        TReplyCase{"Full", "?R  12345 -02000      01xyz", TPositionReply{12345, -2000, 0, '1'}},
        TReplyCase{"StatusOnly24th", "?R0000001000000200000033", TPositionReply{1, 2, 3, '3'}},
        TReplyCase{"NoStatus", "?R      1      2      3", TPositionReply{1, 2, 3, '\0'}},
        TReplyCase{"CutInZ", "?R      1      2     ", TPositionReply{1, 2, 0, '\0'}},
        TReplyCase{"CutInX", "?R 123", TPositionReply{123, 0, 0, '\0'}},
        TReplyCase{"LetterOnly", "?R", TPositionReply{}},
        TReplyCase{"BlankFields", "?R                     6", TPositionReply{0, 0, 0, '6'}},
        TReplyCase{"LeftAlignedField", "?R12     -3     +4     1", TPositionReply{12, -3, 4, '1'}},
        TReplyCase{"FractionAndExponent", "?R  1.5e2 -.2500  7.000 ", TPositionReply{150, -0.25f, 7, ' '}},
        TReplyCase{"NotAPosition", "?J      1      2      31", std::nullopt},
        TReplyCase{"LowerCaseLetter", "?r      1      2      31", std::nullopt},
        TReplyCase{"TooShort", "R", std::nullopt}, TReplyCase{"Empty", "", std::nullopt},
        TReplyCase{"LetterInField", "?R  12a45      2      31", std::nullopt},
        TReplyCase{"BlankInsideField", "?R  12 45      2      31", std::nullopt},
        TReplyCase{"DoubleSign", "?R    +-5      2      31", std::nullopt},
        TReplyCase{"ExponentWithoutDigits", "?R      1   1.5e      31", std::nullopt},
        TReplyCase{"CutFieldMalformed", "?R      1      2    1-", std::nullopt},
        TReplyCase{"ControlByte", QByteArray("?R      1\0     2      31", 24), std::nullopt}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(DeviceReply, LetterIsTheSecondCharacter)
{
    EXPECT_EQ(ReplyLetter("AZ"), 'Z');
    EXPECT_EQ(ReplyLetter("Z"), '\0');
    EXPECT_EQ(ReplyLetter(""), '\0');
}

TEST(DeviceReply, MillimetresAreThousandthsWithTheSignInverted)
{
    const TPoint3 p = StationMillimetres(TPositionReply{12345, -999999, 0, '\0'});
    EXPECT_EQ(p.x, -12.345f);
    EXPECT_EQ(p.y, 999.999f);
    EXPECT_EQ(FormatCoordinate(p.x), QStringLiteral("-12.345"));
    EXPECT_EQ(FormatCoordinate(p.z), QStringLiteral("0.000"));
}

struct TGoToCase
{
    const char *Name;
    float X, Y, Z;
    QByteArray Command;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TGoToCase &c, std::ostream *os)
{
    *os << c.Name;
}

class GoToCommand : public testing::TestWithParam<TGoToCase>
{
};

TEST_P(GoToCommand, Layout)
{
    const TGoToCase &c = GetParam();
    EXPECT_EQ(BuildGoToCommand(c.X, c.Y, c.Z), c.Command);
}

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, GoToCommand,
    testing::Values(
        TGoToCase{"Example", 12.345f, -3.9f, 0.5f, "BS 000012-000003 00000000"},
        TGoToCase{"NegativeFractionTruncatesToZero", -0.9f, 999999.9f, -999999.9f,
                  "BS 000000 999999-99999900"},
        TGoToCase{"MillionWidensItsField", 1000000.0f, -1000000.0f, 1.0f, "BS1000000-1000000 00000100"},
        TGoToCase{"IntRangeEnds", -2147483648.0f, 2147483520.0f, 0.0f, "BS-21474836482147483520 00000000"},
        TGoToCase{"BeyondInt", 2147483648.0f, 0, 0, ""}, TGoToCase{"BelowInt", 0, -3e9f, 0, ""},
        TGoToCase{"Infinite", 0, 0, kInf, ""}, TGoToCase{"NotANumber", kNaN, 0, 0, ""}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
