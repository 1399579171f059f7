#include "register/characteristicbatch.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using K = TCharacteristicKind;

struct TTextCase
{
    const char *name;
    TBatchStatistics statistics;
    K kind;
    QString text;
};

class StatisticsTextTest : public ::testing::TestWithParam<TTextCase>
{
};

TEST_P(StatisticsTextTest, SaysTheSpreadAndTheCapability)
{
    EXPECT_EQ(TCharacteristicBatch::StatisticsText(GetParam().statistics, GetParam().kind).toStdString(),
              GetParam().text.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatisticsTextTest,
    ::testing::Values(
        TTextCase{
            "seven_bores",
            {7, 20.01234, 0.00312, 20.008, 20.017, 1.3349, 1.0951, false},
            K::Diameter,
            "n 7, mean 20.0123, s 0.0031, min 20.008, max 20.017\nCp 1.33 Cpk 1.10 (unreliable: 7 parts)"},
        TTextCase{"reliable_from_25",
                  {25, 20.01, 0.002, 20.006, 20.014, 1.6667, 1.6667, true},
                  K::Diameter,
                  "n 25, mean 20.0100, s 0.0020, min 20.006, max 20.014\nCp 1.67 Cpk 1.67"},
        // A centre off its nominal to the outside gives a negative Cpk; a mean that rounds to zero
        // has no sign.
        TTextCase{
            "negative_cpk_and_zero_mean",
            {3, -0.00004, 0.012, -0.013, 0.011, 0.42, -0.25, false},
            K::PositionX,
            "n 3, mean 0.0000, s 0.0120, min -0.013, max 0.011\nCp 0.42 Cpk -0.25 (unreliable: 3 parts)"},
        TTextCase{
            "zone_has_no_cp",
            {3, 0.005, 0.001, 0.004, 0.006, std::nullopt, 1.6667, false},
            K::Form,
            "n 3, mean 0.0050, s 0.0010, min 0.004, max 0.006\nCpk 1.67 (upper limit only; unreliable: 3 "
            "parts)"},
        TTextCase{"one_part",
                  {1, 20.013, std::nullopt, 20.013, 20.013, std::nullopt, std::nullopt, false},
                  K::Diameter,
                  "n 1, mean 20.0130, s -, min 20.013, max 20.013\nCp, Cpk from 2 parts on"},
        TTextCase{
            "equal_values",
            {4, 20.013, 0.0, 20.013, 20.013, std::nullopt, std::nullopt, false},
            K::Diameter,
            "n 4, mean 20.0130, s 0.0000, min 20.013, max 20.013\nCp, Cpk: none, the values do not spread"},
        TTextCase{"no_values", {}, K::Diameter, "n 0: no part in the history has a value"}),
    [](const auto &info) { return std::string(info.param.name); });

// A table with a bore, a true position and a flatness, and a history of four parts whose bore was
// measured against a tighter tolerance at first.
class CharacteristicBatchTest : public ::testing::Test
{
protected:
    CharacteristicBatchTest()
    {
        characteristics.Table().SetRowTexts(1, {"C1", "Diameter", "20.000", "0.020", "-0.010", "", "", ""});
        characteristics.Table().SetRowTexts(
            2, {"C1", "True position", "25.000 10.000", "0.100", "", "", "", ""});
        characteristics.Table().SetRowTexts(3, {"PL1", "Flatness", "0.000", "0.010", "", "", "", ""});
        const QString file = TResultsHistory::FileName(dir.path(), QStringLiteral("bracket"));
        const QList<TResultsColumn> tight{{"C1", "Diameter", "20.000", "0.010", "-0.010"},
                                          {"C1", "True position", "25.000 10.000", "0.100", ""}};
        history.Append(file, tight, {"S-1", "2026-12-10 09:00:00", "Ann", {"20.008", "0.040"}});
        history.Append(file, tight, {"S-2", "2026-12-10 09:10:00", "Ann", {"20.012", "0.120"}});
        history.Append(file, characteristics.HistoryColumns(),
                       {"S-3", "2026-12-10 09:20:00", "Ann", {"19.989", "", "0.004"}});
        history.Append(file, characteristics.HistoryColumns(),
                       {"S-4", "2026-12-10 09:30:00", "Ann", {"20.016", "0.100", "0.006"}});
    }

    QTemporaryDir dir;
    TCharacteristicRegister characteristics;
    TResultsHistory history;
};

TEST_F(CharacteristicBatchTest, TakesEveryPartsValueAndTheTablesLimits)
{
    const auto bore = TCharacteristicBatch::Of(characteristics, 1, history);
    ASSERT_TRUE(bore);
    EXPECT_EQ(bore->Heading(), QStringLiteral("C1 Diameter 20.000 +0.020/-0.010"));
    // The parts measured against the tighter tolerance count as well.
    EXPECT_EQ(bore->Values(), (QList<std::optional<double>>{20.008, 20.012, 19.989, 20.016}));
    EXPECT_DOUBLE_EQ(bore->UpperLimit(), 20.02);
    EXPECT_DOUBLE_EQ(*bore->LowerLimit(), 19.99);
    EXPECT_EQ(bore->Statistics().count, 4);
    EXPECT_NEAR(bore->Statistics().mean, 20.006250, 1e-9);
    EXPECT_EQ((QStringList{bore->Result(0), bore->Result(2), bore->Result(3)}),
              (QStringList{"OK", "NOK", "OK"}));
}

TEST_F(CharacteristicBatchTest, AZoneIsJudgedAboutZeroWithoutALowerLimit)
{
    // A true position's nominal is the centre (25, 10); its zone's is zero, and so are its limits'.
    const auto position = TCharacteristicBatch::Of(characteristics, 2, history);
    ASSERT_TRUE(position);
    EXPECT_DOUBLE_EQ(position->Nominal(), 0.0);
    EXPECT_DOUBLE_EQ(position->UpperLimit(), 0.1);
    EXPECT_FALSE(position->LowerLimit());
    EXPECT_EQ(position->Values(), (QList<std::optional<double>>{0.04, 0.12, std::nullopt, 0.1}));
    EXPECT_EQ(
        (QStringList{position->Result(0), position->Result(1), position->Result(2), position->Result(3)}),
        (QStringList{"OK", "NOK", "", "OK"}));
    ASSERT_TRUE(position->Statistics().cpk);
    EXPECT_NEAR(*position->Statistics().cpk,
                (0.1 - 0.26 / 3) / (3 * *position->Statistics().standardDeviation), 1e-9);

    // The flatness came in with part 3: the parts before it have no value.
    const auto flatness = TCharacteristicBatch::Of(characteristics, 3, history);
    ASSERT_TRUE(flatness);
    EXPECT_EQ(flatness->Values(), (QList<std::optional<double>>{std::nullopt, std::nullopt, 0.004, 0.006}));
    EXPECT_TRUE(
        flatness->StatisticsText().endsWith(QStringLiteral("(upper limit only; unreliable: 2 parts)")))
        << flatness->StatisticsText().toStdString();

    EXPECT_FALSE(TCharacteristicBatch::Of(characteristics, 4, history));
}

} // namespace
