#include "common/coordinatetext.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct TFormatCase
{
    float value;
    const char *text;
};

class FormatCoordinateTest : public ::testing::TestWithParam<TFormatCase>
{
};

TEST_P(FormatCoordinateTest, WritesTheStationsTextForm)
{
    EXPECT_EQ(FormatCoordinate(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatCoordinateTest,
    ::testing::Values(
        // Plain values, padding and the leading zero below one.
        TFormatCase{1.5f, "1.500"}, TFormatCase{-0.25f, "-0.250"}, TFormatCase{100.0f, "100.000"},
        TFormatCase{12.3456f, "12.346"}, TFormatCase{0.0f, "0.000"},
        // Anything that rounds to zero is written without a sign.
        TFormatCase{-0.0f, "0.000"}, TFormatCase{0.0004f, "0.000"}, TFormatCase{-0.0004f, "0.000"},
        TFormatCase{-0.0006f, "-0.001"},
        // Ties are decided on the exact single-precision value, away from zero: 0.0625 is exact,
        // printf's banker-like result would be 0.062.
        TFormatCase{0.0625f, "0.063"}, TFormatCase{-0.0625f, "-0.063"}, TFormatCase{2.5625f, "2.563"},
        // 1.0005f is stored just below 1.0005, so it rounds down; 0.0015f just above, so up.
        TFormatCase{1.0005f, "1.000"}, TFormatCase{0.0015f, "0.002"},
        // Seven significant digits at most: the fraction gives way to a long integer part.
        TFormatCase{12345.6789f, "12345.680"}, TFormatCase{123456.789f, "123456.800"},
        TFormatCase{1234567.0f, "1234567.000"}, TFormatCase{-654321.75f, "-654321.800"},
        // A carry through every digit adds one.
        TFormatCase{9999.9996f, "10000.000"}, TFormatCase{-999.9999f, "-1000.000"},
        // Beyond seven integer digits the last places are rounded away.
        TFormatCase{12345678.0f, "12345680.000"}, TFormatCase{99999999.0f, "100000000.000"},
        // Device readings: thousandths of a millimetre, scaled and inverted.
        TFormatCase{-12.345f, "-12.345"}, TFormatCase{999.999f, "999.999"}));

TEST(FormatCoordinate, NonFiniteValuesNeverLookLikeNumbers)
{
    EXPECT_EQ(FormatCoordinate(std::numeric_limits<float>::quiet_NaN()), QStringLiteral("***.***"));
    EXPECT_EQ(FormatCoordinate(std::numeric_limits<float>::infinity()), QStringLiteral("***.***"));
    EXPECT_FALSE(ReadDecimal(FormatCoordinate(std::numeric_limits<float>::quiet_NaN())).has_value());
}

TEST(FormatCoordinate, KeepsAPointWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(FormatCoordinate(1234.5f), QStringLiteral("1234.500"));
    EXPECT_EQ(ReadDecimal(u"1234.5"), 1234.5f);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(before);
}

TEST(FormatCoordinate, TextReadsBackToTheSameText)
{
    for (float v = -1000.0f; v < 1000.0f; v += 0.7311f) {
        const QString text = FormatCoordinate(v);
        const auto back = ReadDecimal(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(FormatCoordinate(*back), text);
    }
}

struct TReadCase
{
    const char16_t *text;
    std::optional<float> value;
};

class ReadDecimalTest : public ::testing::TestWithParam<TReadCase>
{
};

TEST_P(ReadDecimalTest, ReadsOnlyWellFormedNumbers)
{
    EXPECT_EQ(ReadDecimal(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadDecimalTest,
    ::testing::Values(TReadCase{u"12.500", 12.5f}, TReadCase{u"-3.250", -3.25f}, TReadCase{u"  +7", 7.0f},
                      TReadCase{u" 012345", 12345.0f}, TReadCase{u"-000003", -3.0f},
                      TReadCase{u"1.5e2", 150.0f}, TReadCase{u"2E-1", 0.2f}, TReadCase{u".5", 0.5f},
                      TReadCase{u"5.", 5.0f}, TReadCase{u"", std::nullopt}, TReadCase{u"   ", std::nullopt},
                      TReadCase{u"-", std::nullopt}, TReadCase{u".", std::nullopt},
                      TReadCase{u"12,500", std::nullopt}, TReadCase{u"1.0 ", std::nullopt},
                      TReadCase{u"abc", std::nullopt}, TReadCase{u"1e", std::nullopt},
                      TReadCase{u"1e+", std::nullopt}, TReadCase{u"12a", std::nullopt},
                      TReadCase{u"1e39", std::nullopt}, TReadCase{u"--1", std::nullopt},
                      TReadCase{u"***.***", std::nullopt}, TReadCase{u"\t1", std::nullopt}));

} // namespace
