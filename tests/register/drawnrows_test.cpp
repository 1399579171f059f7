// What the views draw of the tables: the number beside each plotted mark, and the distance and angle
// rows as segments.
#include "register/featureextents.h"
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

namespace {

TPointNumbers::TFound Found(TPointList points, QList<int> missing = {})
{
    TPointNumbers::TFound found;
    found.points = std::move(points);
    found.missing = std::move(missing);
    return found;
}

// Next part empties the point table; the rows keep the last part's values and are drawn as big as they
// were until they are measured again.
TEST(FeatureExtents, ARowWhosePointsAreGoneKeepsTheExtentItWasDrawnWith)
{
    TFeatureExtents extents;
    const QStringList edge{"L1", "Line", "9-11", "-20.000", "20.000", "2.000"};
    const TPointList along{{0, 20, 2}, {-20, 20, 2}, {-40, 20, 2}};
    EXPECT_EQ(extents.PointsFor(edge, Found(along)), along);
    EXPECT_EQ(extents.PointsFor(edge, Found({}, {9, 10, 11})), along);
    // Two of the next part's points are in: still the last extent, not a stub.
    EXPECT_EQ(extents.PointsFor(edge, Found({{0, 21, 2}}, {10, 11})), along);

    // Measured again, the row reads differently: its own points from then on.
    const QStringList remeasured{"L1", "Line", "9-11", "-20.000", "21.000", "2.000"};
    const TPointList next{{0, 21, 2}, {-20, 21, 2}, {-40, 21, 2}};
    EXPECT_EQ(extents.PointsFor(remeasured, Found({next[0]}, {10, 11})), TPointList{next[0]});
    EXPECT_EQ(extents.PointsFor(remeasured, Found(next)), next);

    // A row gone from the table is forgotten: the same texts loaded again later draw what is there.
    extents.Keep({remeasured});
    EXPECT_EQ(extents.PointsFor(edge, Found({}, {9, 10, 11})), TPointList{});
    EXPECT_EQ(extents.PointsFor(remeasured, Found({}, {9, 10, 11})), next);
}

} // namespace
