#include "register/pointregister.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

QStringList Row(const TTextTable &table, int row)
{
    return table.RowTexts(row);
}

void Fill(TPointRegister &reg, int count)
{
    for (int i = 0; i < count; ++i)
        reg.AddPoint({static_cast<float>(i), 0.0f, 0.0f}, false);
}

TEST(PointRegisterTest, StartUpHeadersAndFirstPoint)
{
    TPointRegister reg;
    reg.SetHeaders();
    EXPECT_EQ(Row(reg.Data(), 0), QStringList({"Pt", "X value (mm)", "Y value (mm)", "Z value (mm)"}));
    EXPECT_EQ(Row(reg.Distances(), 0),
              QStringList({"Pt 1", "Pt 2", "delta X", "delta Y", "delta Z", "delta R"}));
    EXPECT_EQ(Row(reg.Angles(), 0),
              QStringList({"Pt 1", "Pt 2", "Pt 3", "theta3D", "thetaXY", "thetaXZ", "thetaYZ"}));
    EXPECT_EQ(reg.Data().RowCount(), 1000);

    const auto added = reg.AddPoint({-0.0004f, 100.0f, -12.3456f}, false);
    EXPECT_TRUE(added.added);
    EXPECT_EQ(added.row, 1);
    EXPECT_EQ(reg.PointCount(), 1);
    EXPECT_EQ(Row(reg.Data(), 1), QStringList({"1", "0.000", "100.000", "-12.346"}));
    EXPECT_EQ(reg.Data().TopRow(), 1);
}

TEST(PointRegisterTest, AppendingNeverSelectsARow)
{
    TPointRegister reg;
    reg.Data().SetRow(5);
    QObject context;
    int selections = 0;
    QObject::connect(&reg.Data(), &TTextTable::SelectCell, &context, [&](int) { ++selections; });
    Fill(reg, 40);
    EXPECT_EQ(selections, 0);
    EXPECT_EQ(reg.Data().Row(), 5);
}

struct TScrollCase
{
    bool shortLayout;
    int points;
    int topRow;
};

class PointRegisterScrollTest : public ::testing::TestWithParam<TScrollCase>
{
};

TEST_P(PointRegisterScrollTest, NewRowComesIntoViewOfTheLayoutInForce)
{
    TPointRegister reg;
    for (int i = 0; i < GetParam().points; ++i)
        reg.AddPoint({1.0f, 2.0f, 3.0f}, GetParam().shortLayout);
    EXPECT_EQ(reg.Data().TopRow(), GetParam().topRow);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PointRegisterScrollTest,
                         ::testing::Values(TScrollCase{false, 1, 1}, TScrollCase{false, 27, 1},
                                           TScrollCase{false, 28, 1}, TScrollCase{false, 30, 3},
                                           TScrollCase{false, 999, 972}, TScrollCase{true, 12, 1},
                                           TScrollCase{true, 13, 1}, TScrollCase{true, 20, 8}));

TEST(PointRegisterTest, FullTableRefusesAndSaysSoOnce)
{
    TPointRegister reg;
    Fill(reg, 999);
    EXPECT_TRUE(reg.IsDataFull());
    EXPECT_EQ(reg.Data().Cell(0, 999), "999");

    const auto first = reg.AddPoint({5.0f, 5.0f, 5.0f}, false);
    const auto second = reg.AddPoint({6.0f, 6.0f, 6.0f}, false);
    EXPECT_FALSE(first.added);
    EXPECT_TRUE(first.tellOperator);
    EXPECT_FALSE(second.added);
    EXPECT_FALSE(second.tellOperator);
    EXPECT_EQ(reg.PointCount(), 999);
    EXPECT_EQ(reg.Data().Cell(0, 0), QString()) << "the header row is never written";

    // Room made by a deletion takes the next point, and a later overflow is reported again.
    reg.Data().DeleteRow(10);
    const auto third = reg.AddPoint({7.0f, 7.0f, 7.0f}, false);
    EXPECT_TRUE(third.added);
    EXPECT_EQ(third.row, 999);
    EXPECT_EQ(third.number, 1000);
    EXPECT_TRUE(reg.AddPoint({8.0f, 8.0f, 8.0f}, false).tellOperator);
}

TEST(PointRegisterTest, PointAfterADeletionLeavesNoGap)
{
    TPointRegister reg;
    Fill(reg, 5);
    reg.Data().DeleteRow(2);
    const auto added = reg.AddPoint({9.0f, 9.0f, 9.0f}, false);
    EXPECT_EQ(added.row, 5);
    EXPECT_EQ(added.number, 6);
    EXPECT_EQ(reg.Data().FilledRowCount(), 5);
    EXPECT_EQ(reg.Data().Cell(0, 5), "6");
    EXPECT_EQ(reg.Data().Cell(0, 4), "5");
}

TEST(PointRegisterTest, ClearAllRestartsNumberingAndKeepsHeaders)
{
    TPointRegister reg;
    reg.SetHeaders();
    Fill(reg, 3);
    reg.Distances().SetRowTexts(1, {"1", "2", "1.000", "0.000", "0.000", "1.000"});
    reg.Angles().SetRowTexts(1, {"1", "2", "3", "90.000", "90.000", "***.***", "***.***"});
    reg.ClearAll();
    EXPECT_EQ(reg.PointCount(), 0);
    EXPECT_EQ(reg.Data().FilledRowCount(), 0);
    EXPECT_EQ(reg.Distances().FilledRowCount(), 0);
    EXPECT_EQ(reg.Angles().FilledRowCount(), 0);
    EXPECT_EQ(reg.Angles().Cell(6, 0), "thetaYZ");
    EXPECT_EQ(reg.AddPoint({1.0f, 1.0f, 1.0f}, false).row, 1);
    EXPECT_EQ(reg.Data().Cell(0, 1), "1");
}

} // namespace
