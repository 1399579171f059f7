// What the views draw of the tables: the number beside each plotted mark, and the distance and angle
// rows as segments.
#include "register/plottedpointnumbers.h"
#include "register/pointregister.h"
#include "register/rowsegments.h"

#include <gtest/gtest.h>

namespace {

class DrawnRowsTest : public ::testing::Test
{
protected:
    DrawnRowsTest()
    {
        reg.SetHeaders();
        for (const TPoint3 point : points)
            reg.AddPoint(point, false);
    }

    const std::vector<TPoint3> points{
        {0.0f, 0.0f, 0.0f}, {3.0f, 4.0f, 0.0f}, {1.5f, -2.25f, 7.0f}, {3.0f, 4.0f, 0.0f}};
    TPointRegister reg;
};

TEST_F(DrawnRowsTest, MarksAreNumberedByTheirRowsAndDeletedOnesAreSaidSo)
{
    TPlottedPointNumbers numbers(reg.Data());
    numbers.Update(points);
    // Points 2 and 4 stand at one place: both marks carry both numbers.
    EXPECT_EQ(numbers.Labels(), (QStringList{"1", "2, 4", "3", "2, 4"}));
    EXPECT_EQ(numbers.ToolTip({2}), QStringLiteral("Point 3: X 1.500  Y -2.250  Z 7.000"));

    // Deleting point 3's row moves point 4 up; the mark of 3 stays plotted, without a number.
    reg.Data().DeleteRow(3);
    numbers.Update(points);
    EXPECT_EQ(numbers.Labels(), (QStringList{"1", "2, 4", "", "2, 4"}));
    EXPECT_EQ(numbers.ToolTip({1, 2}), QStringLiteral("Points 2, 4: X 3.000  Y 4.000  Z 0.000\n"
                                                      "Deleted point: X 1.500  Y -2.250  Z 7.000"));
    EXPECT_EQ(numbers.ToolTip({9}), QString());
}

TEST_F(DrawnRowsTest, RowsBecomeSegmentsBetweenTheirNumberedPoints)
{
    reg.Distances().SetRowTexts(1, {"1", "2", "3.000", "4.000", "0.000", "5.000"});
    reg.Distances().SetRowTexts(2, {"1", "9", "0.000", "0.000", "0.000", "0.000"}); // 9 is no point
    reg.Angles().SetRowTexts(1, {"1", "3", "2", "90.000", "90.000", "***.***", "***.***"});

    const auto none = TRowSegments::Compute(reg.Data(), reg.Distances(), reg.Angles(), {});
    EXPECT_TRUE(none.thin.empty() && none.highlighted.empty());

    const auto all = TRowSegments::Compute(reg.Data(), reg.Distances(), reg.Angles(), {true, 0, 0});
    // The distance 1-2 and the angle's two legs from its vertex, point 3; the row naming point 9 draws
    // nothing.
    const TRowSegments::TSegments expected{
        {points[0], points[1]}, {points[0], points[2]}, {points[2], points[1]}};
    EXPECT_EQ(all.thin, expected);
    EXPECT_TRUE(all.highlighted.empty());

    const auto selected = TRowSegments::Compute(reg.Data(), reg.Distances(), reg.Angles(), {false, 1, 0});
    EXPECT_TRUE(selected.thin.empty());
    EXPECT_EQ(selected.highlighted, (TRowSegments::TSegments{{points[0], points[1]}}));
    // A selected row that is empty, or the header, draws nothing.
    const auto empty = TRowSegments::Compute(reg.Data(), reg.Distances(), reg.Angles(), {false, 5, 0});
    EXPECT_TRUE(empty.highlighted.empty());
}

} // namespace
