#include "fakepickplots.h"
#include "register/derivations.h"
#include "register/pointregister.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

class DerivationsFixture
{
protected:
    int Record(TPoint3 p) { return m_register.AddPoint(p, false).row; }

    // Picks the rows as distances (two) or angles (three) and returns the last outcome.
    TPickOutcome Distance(int first, int second)
    {
        EXPECT_EQ(m_derivations.DistancePickStep(first), TPickOutcome::Selected);
        return m_derivations.DistancePickStep(second);
    }
    TPickOutcome Angle(int first, int vertex, int third)
    {
        EXPECT_EQ(m_derivations.AnglePickStep(first), TPickOutcome::Selected);
        EXPECT_EQ(m_derivations.AnglePickStep(vertex), TPickOutcome::Selected);
        return m_derivations.AnglePickStep(third);
    }

    TPointRegister m_register;
    TCalibration m_calibration;
    bool m_offLineTest = false;
    TFakePickPlots m_plots;
    TDerivations m_derivations{m_register, m_calibration, [this] { return m_offLineTest; }, m_plots};
};

struct TDistanceCase
{
    TPoint3 first;
    TPoint3 second;
    QStringList row;
};

class DistanceTest : public DerivationsFixture, public ::testing::TestWithParam<TDistanceCase>
{
};

TEST_P(DistanceTest, AppendsSignedDifferencesAndLength)
{
    const int first = Record(GetParam().first);
    const int second = Record(GetParam().second);
    EXPECT_EQ(Distance(first, second), TPickOutcome::RowAppended);
    EXPECT_EQ(m_register.Distances().RowTexts(1), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DistanceTest,
    ::testing::Values(
        TDistanceCase{{0, 0, 0}, {3, 4, 0}, {"1", "2", "3.000", "4.000", "0.000", "5.000"}},
        // Second point minus first: the reversed pair flips the signs, not the length.
        TDistanceCase{{3, 4, 0}, {0, 0, 0}, {"1", "2", "-3.000", "-4.000", "0.000", "5.000"}},
        TDistanceCase{{1.5f, -2, 7}, {1.5f, -2, 7}, {"1", "2", "0.000", "0.000", "0.000", "0.000"}},
        TDistanceCase{{1, 2, 3}, {-1, -2, -3}, {"1", "2", "-2.000", "-4.000", "-6.000", "7.483"}},
        TDistanceCase{{0.001f, 0, 0}, {0, 0, 0}, {"1", "2", "-0.001", "0.000", "0.000", "0.001"}}));

struct TAngleCase
{
    const char *name;
    TPoint3 first;
    TPoint3 vertex;
    TPoint3 third;
    // theta3D, thetaXY, thetaXZ, thetaYZ as the angles table shows them.
    QStringList angles;
};

class AngleTest : public DerivationsFixture, public ::testing::TestWithParam<TAngleCase>
{
};

TEST_P(AngleTest, AppendsTheAngleAtTheVertexInSpaceAndEachPlane)
{
    const TAngleCase &c = GetParam();
    const int first = Record(c.first);
    const int vertex = Record(c.vertex);
    const int third = Record(c.third);
    EXPECT_EQ(Angle(first, vertex, third), TPickOutcome::RowAppended);
    EXPECT_EQ(m_register.Angles().RowTexts(1), QStringList({"1", "2", "3"}) + c.angles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AngleTest,
    ::testing::Values(
        // In X-Z the third point falls onto the vertex, in Y-Z the first does: no angle there.
        TAngleCase{"RightAngle", {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {"90.000", "90.000", "***.***", "***.***"}},
        TAngleCase{"Straight", {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {"180.000", "180.000", "180.000", "180.000"}},
        TAngleCase{"Folded", {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {"0.000", "0.000", "0.000", "0.000"}},
        // Rounding carries the cosine of these straight lines just outside the arc cosine's range.
        TAngleCase{"StraightInexact",
                   {0.1f, 0.7f, 1.3f},
                   {0.3f, 2.1f, 3.9f},
                   {0.5f, 3.5f, 6.5f},
                   {"180.000", "180.000", "180.000", "180.000"}},
        TAngleCase{
            "VerticalStack", {1, 2, 0}, {1, 2, 5}, {1, 2, 9}, {"180.000", "***.***", "180.000", "180.000"}},
        TAngleCase{"VerticalStackVertexOutside",
                   {1, 2, 0},
                   {1, 2, 9},
                   {1, 2, 5},
                   {"0.000", "***.***", "0.000", "0.000"}},
        TAngleCase{"Oblique", {3, 4, 0}, {0, 0, 0}, {4, 3, 0}, {"16.260", "16.260", "0.000", "0.000"}},
        TAngleCase{"Reversed", {4, 3, 0}, {0, 0, 0}, {3, 4, 0}, {"16.260", "16.260", "0.000", "0.000"}},
        TAngleCase{"SpaceDiffersFromPlanes",
                   {1, 0, 1},
                   {0, 0, 0},
                   {0, 1, 1},
                   {"60.000", "90.000", "45.000", "45.000"}},
        TAngleCase{"SamePointThrice",
                   {1, 1, 1},
                   {1, 1, 1},
                   {1, 1, 1},
                   {"***.***", "***.***", "***.***", "***.***"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(AngleFormulaTest, CosineInRangeExcludesTheEndsAndNaN)
{
    EXPECT_TRUE(TDerivations::CosineInRange(0.0f));
    EXPECT_TRUE(TDerivations::CosineInRange(-0.5f));
    EXPECT_TRUE(TDerivations::CosineInRange(0.999998f));
    EXPECT_FALSE(TDerivations::CosineInRange(0.9999995f));
    EXPECT_FALSE(TDerivations::CosineInRange(-1.0f));
    EXPECT_FALSE(TDerivations::CosineInRange(1.0f));
    EXPECT_FALSE(TDerivations::CosineInRange(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(TDerivations::AngleText(900.0f), "***.***");
    EXPECT_EQ(TDerivations::AngleText(899.9f), "899.900");
}

class DerivationsTest : public DerivationsFixture, public ::testing::Test
{
};

TEST_F(DerivationsTest, OffLineCalibrationTestCorrectsPickedPoints)
{
    m_calibration.AlphaX = 2.0f;
    m_calibration.AlphaY = 2.0f;
    const int origin = Record({0, 0, 0});
    const int p = Record({3, 4, 0});
    const int q = Record({1, 0, 0});
    const int r = Record({1, 1, 0});

    Distance(origin, p);
    m_offLineTest = true;
    Distance(origin, p);
    EXPECT_EQ(m_register.Distances().RowTexts(1).mid(2), QStringList({"3.000", "4.000", "0.000", "5.000"}));
    EXPECT_EQ(m_register.Distances().RowTexts(2).mid(2), QStringList({"6.000", "8.000", "0.000", "10.000"}));

    // Only Y is doubled now: the leg towards (1, 1) becomes (1, 2).
    m_calibration.AlphaX = 1.0f;
    Angle(q, origin, r);
    EXPECT_EQ(m_register.Angles().Cell(3, 1), "63.435");
    EXPECT_EQ(m_register.Angles().Cell(4, 1), "63.435");
}

TEST_F(DerivationsTest, AppendedRowBecomesCurrentAndScrollsIntoView)
{
    for (int row = 1; row <= 8; ++row)
        m_register.Distances().SetRowTexts(row, {"1", "1", "0.000", "0.000", "0.000", "0.000"});
    const int a = Record({0, 0, 0});
    const int b = Record({1, 0, 0});

    Distance(a, b);
    EXPECT_EQ(m_register.Distances().Row(), 9);
    EXPECT_EQ(m_register.Distances().TopRow(), 1);
    Distance(a, b);
    EXPECT_EQ(m_register.Distances().Row(), 10);
    EXPECT_EQ(m_register.Distances().TopRow(), 1);
    Distance(a, b);
    EXPECT_EQ(m_register.Distances().Row(), 11);
    EXPECT_EQ(m_register.Distances().TopRow(), 2);

    Angle(a, b, a);
    EXPECT_EQ(m_register.Angles().Row(), 1);
    EXPECT_EQ(m_register.Angles().TopRow(), 1);
}

TEST_F(DerivationsTest, FirstPickEmptiesTheLineSeriesAndFinishingEmptiesBothSelections)
{
    const int a = Record({0, 0, 0});
    const int b = Record({1, 0, 0});
    const int c = Record({1, 1, 0});

    m_derivations.DistancePickStep(a);
    EXPECT_EQ(m_plots.LineClears, 1);
    EXPECT_EQ(m_derivations.DistanceSelection()[0].number, "1");

    // An angle finished meanwhile discards the half-chosen distance.
    const int stages[] = {0, 1, 2};
    const int rows[] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        m_derivations.AnglePickStep(rows[i]);
        EXPECT_EQ(m_derivations.AnglePickStage(), stages[i]);
    }
    EXPECT_EQ(m_plots.LineClears, 2);
    EXPECT_TRUE(m_derivations.DistanceSelection()[0].IsEmpty());
    EXPECT_TRUE(m_derivations.AngleSelection()[0].IsEmpty());
    EXPECT_EQ(m_derivations.AnglePickStage(), 2) << "the stage stays until the next angle pick";

    EXPECT_EQ(m_derivations.DistancePickStep(b), TPickOutcome::Selected);
    EXPECT_EQ(m_derivations.DistancePickStep(c), TPickOutcome::RowAppended);
    EXPECT_EQ(m_register.Distances().RowTexts(1).mid(0, 2), QStringList({"2", "3"}));
}

TEST_F(DerivationsTest, HalfChosenDistanceSurvivesClearAndKeepsItsCopiedTexts)
{
    m_derivations.DistancePickStep(Record({0, 0, 0}));
    m_register.ClearAll();
    Record({5, 5, 5});
    const int fresh = Record({3, 4, 0});
    EXPECT_EQ(m_derivations.DistancePickStep(fresh), TPickOutcome::RowAppended);
    EXPECT_EQ(m_register.Distances().RowTexts(1),
              QStringList({"1", "2", "3.000", "4.000", "0.000", "5.000"}));
}

TEST_F(DerivationsTest, TextsThatDoNotParseAppendNoRow)
{
    const int a = Record({0, 0, 0});
    const int b = Record({3, 4, 0});
    Distance(a, b);
    m_register.Data().SetCell(2, b, "4,000");

    EXPECT_EQ(Distance(a, b), TPickOutcome::BadTexts);
    EXPECT_EQ(m_register.Distances().FilledRowCount(), 1) << "the previous result must not be repeated";
    EXPECT_TRUE(m_derivations.DistanceSelection()[0].IsEmpty());

    EXPECT_EQ(Angle(a, b, a), TPickOutcome::BadTexts);
    EXPECT_EQ(m_register.Angles().FilledRowCount(), 0);
    EXPECT_TRUE(m_derivations.AngleSelection()[0].IsEmpty());
}

TEST_F(DerivationsTest, FullTablesAppendNothingAndNeverTouchTheHeader)
{
    m_register.SetHeaders();
    for (int row = 1; row < TPointRegister::kRowCount; ++row) {
        m_register.Distances().SetRowTexts(row, {"1", "1", "0.000", "0.000", "0.000", "0.000"});
        m_register.Angles().SetRowTexts(row, {"1", "1", "1", "0.000", "0.000", "0.000", "0.000"});
    }
    const int a = Record({0, 0, 0});
    const int b = Record({1, 0, 0});

    EXPECT_EQ(Distance(a, b), TPickOutcome::TableFull);
    EXPECT_EQ(Angle(a, b, a), TPickOutcome::TableFull);
    EXPECT_EQ(m_register.Distances().Cell(0, 0), "Pt 1");
    EXPECT_EQ(m_register.Angles().Cell(0, 0), "Pt 1");
    EXPECT_EQ(m_register.Distances().Cell(2, 999), "0.000");
    EXPECT_TRUE(m_derivations.DistanceSelection()[0].IsEmpty());
    EXPECT_TRUE(m_derivations.AngleSelection()[0].IsEmpty());
}

} // namespace
