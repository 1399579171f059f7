#include "plots/plotviews.h"
#include "plots/seriesstore.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

struct TRangeExpectation
{
    int chart;
    TAxis axis;
};

const std::vector<TRangeExpectation> AllAxes = {
    {1, TAxis::Left},   {1, TAxis::Bottom}, {2, TAxis::Left},   {2, TAxis::Bottom}, {3, TAxis::Left},
    {3, TAxis::Bottom}, {4, TAxis::Left},   {4, TAxis::Bottom}, {4, TAxis::Depth},
};

class PlotViewsTest : public ::testing::Test
{
protected:
    TSeriesStore store;
    TPlotViews views{store};

    void ExpectPoint(int series, double horizontal, double vertical, double depth = 0.0, int index = 0)
    {
        SCOPED_TRACE(testing::Message() << "Series" << series << " point " << index);
        ASSERT_GT(store.SeriesCount(series), index);
        const TSeriesPoint point = store.SeriesPoint(series, index);
        EXPECT_DOUBLE_EQ(point.horizontal, horizontal);
        EXPECT_DOUBLE_EQ(point.vertical, vertical);
        EXPECT_DOUBLE_EQ(point.depth, depth);
    }

    std::vector<int> SeriesCounts() const
    {
        std::vector<int> counts;
        for (int series = 1; series <= 16; ++series)
            counts.push_back(store.SeriesCount(series));
        return counts;
    }
};

TEST_F(PlotViewsTest, StartUpSpansEveryAxisAndSetsMaximumBeforeMinimum)
{
    views.StartUp();
    for (const auto &[chart, axis] : AllAxes) {
        EXPECT_EQ(store.AxisMaximum(chart, axis), 100.0) << "chart " << chart;
        EXPECT_EQ(store.AxisMinimum(chart, axis), -100.0) << "chart " << chart;
    }
    EXPECT_EQ(store.Rotation(), 301);
    EXPECT_EQ(store.Elevation(), 344);
    EXPECT_EQ(store.FrontChart(), 1);

    // Left then bottom (then depth), each maximum first: a real axis rejects a minimum above its
    // maximum, and the designed -50..50 would otherwise be passed by -100 first.
    const auto &changes = store.AxisChanges();
    ASSERT_EQ(changes.size(), 18u);
    for (size_t i = 0; i < changes.size(); i += 2) {
        EXPECT_EQ(changes[i].chart, changes[i + 1].chart);
        EXPECT_EQ(changes[i].axis, changes[i + 1].axis);
        EXPECT_TRUE(changes[i].maximum);
        EXPECT_FALSE(changes[i + 1].maximum);
    }
    EXPECT_EQ(changes[0].axis, TAxis::Left);
    EXPECT_EQ(changes[2].axis, TAxis::Bottom);
    EXPECT_EQ(changes[16].axis, TAxis::Depth);
}

class ZoomTest : public PlotViewsTest, public ::testing::WithParamInterface<std::tuple<int, int, double>>
{
};

TEST_P(ZoomTest, ZoomsOnlyItsOwnViewSymmetrically)
{
    const auto [chart, position, halfSpan] = GetParam();
    views.StartUp();
    views.ZoomChanged(chart, position);
    for (const auto &[other, axis] : AllAxes) {
        const double expected = other == chart ? halfSpan : 100.0;
        EXPECT_EQ(store.AxisMaximum(other, axis), expected) << "chart " << other;
        EXPECT_EQ(store.AxisMinimum(other, axis), -expected) << "chart " << other;
    }
}

// The 3D bar moves all three of its axes; a position below the bar's range keeps a usable span.
INSTANTIATE_TEST_SUITE_P(Bars, ZoomTest,
                         ::testing::Values(std::make_tuple(1, 5, 5.0), std::make_tuple(2, 37, 37.0),
                                           std::make_tuple(3, 100, 100.0), std::make_tuple(4, 40, 40.0),
                                           std::make_tuple(2, 0, 5.0), std::make_tuple(4, -20, 5.0)));

TEST_F(PlotViewsTest, ZoomingInNeverLeavesAnInvertedRange)
{
    views.StartUp();
    store.ForgetAxisChanges();
    views.ZoomChanged(4, 5);
    views.ZoomChanged(4, 100);
    ASSERT_EQ(store.AxisChanges().size(), 12u);
    const std::vector<TAxis> order = {TAxis::Left, TAxis::Bottom, TAxis::Depth};
    for (size_t i = 0; i < store.AxisChanges().size(); ++i)
        EXPECT_EQ(store.AxisChanges()[i].axis, order[(i / 2) % 3]) << "change " << i;
}

TEST_F(PlotViewsTest, RecordedPointFollowsThePlacementRuleAndReadsBack)
{
    const TPoint3 point{1.5f, -2.25f, 3.125f};
    views.AddRecordedPoint(point);
    ExpectPoint(1, 1.5, -2.25);
    ExpectPoint(2, 1.5, 3.125);
    ExpectPoint(3, -2.25, 3.125);
    ExpectPoint(4, 1.5, 3.125, -2.25);
    EXPECT_EQ(SeriesCounts(), std::vector<int>({1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    EXPECT_EQ(views.ClickedPoint(1, 0), (TPoint3{1.5f, -2.25f, 0.0f}));
    EXPECT_EQ(views.ClickedPoint(2, 0), (TPoint3{1.5f, 0.0f, 3.125f}));
    EXPECT_EQ(views.ClickedPoint(3, 0), (TPoint3{0.0f, -2.25f, 3.125f}));
    EXPECT_EQ(views.ClickedPoint(4, 0), point);
    EXPECT_EQ(views.ClickedPoint(4, 1), TPoint3{});
    EXPECT_EQ(views.ClickedPoint(9, 0), TPoint3{});
}

TEST_F(PlotViewsTest, ClickedPointKeepsTheSinglePrecisionValue)
{
    // 0.1f is not 0.1: reading back must give the float that went in, so its text matches the row.
    const TPoint3 point{0.1f, 123.457f, -9999.999f};
    views.AddRecordedPoint(point);
    EXPECT_EQ(views.ClickedPoint(4, 0), point);
}

struct TPlotPointCase
{
    const char *name;
    const char *x;
    const char *y;
    const char *z;
    bool plotted;
    TPoint3 point;
};

class PlotPointTest : public PlotViewsTest, public ::testing::WithParamInterface<TPlotPointCase>
{
};

TEST_P(PlotPointTest, ReadsTheThreeTexts)
{
    const TPlotPointCase &c = GetParam();
    EXPECT_EQ(views.PlotPoint(c.x, c.y, c.z), c.plotted);
    if (!c.plotted) {
        EXPECT_EQ(SeriesCounts(), std::vector<int>(16, 0));
        return;
    }
    ExpectPoint(1, c.point.x, c.point.y);
    ExpectPoint(2, c.point.x, c.point.z);
    ExpectPoint(3, c.point.y, c.point.z);
    ExpectPoint(4, c.point.x, c.point.z, c.point.y);
}

// The number forms themselves are the reader's and tested with it; here one bad text in each place.
INSTANTIATE_TEST_SUITE_P(
    Texts, PlotPointTest,
    ::testing::Values(TPlotPointCase{"TableRow", "12.500", "-3.250", "0.000", true, {12.5f, -3.25f, 0.0f}},
                      TPlotPointCase{"CommaDecimalMark", "12,500", "-3.250", "0.000", false, {}},
                      TPlotPointCase{"EmptyText", "12.500", "-3.250", "", false, {}},
                      TPlotPointCase{"BeyondSinglePrecision", "1", "1e99", "1", false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PlotViewsTest, LiveMarkerMovesOnlyInTheViewWhoseButtonIsDown)
{
    views.ShowLivePosition({1.0f, 2.0f, 3.0f}, false, false, true, false);
    views.ShowLivePosition({4.0f, 5.0f, 6.0f}, false, false, true, false);
    ExpectPoint(7, 5.0, 6.0);
    EXPECT_EQ(SeriesCounts(), std::vector<int>({0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    views.ShowLivePosition({7.0f, 8.0f, 9.0f}, false, false, false, true);
    ExpectPoint(8, 7.0, 9.0, 8.0);
    ExpectPoint(7, 5.0, 6.0);

    // All buttons up: no marker moves.
    views.ShowLivePosition({0.0f, 0.0f, 0.0f}, false, false, false, false);
    ExpectPoint(7, 5.0, 6.0);
    ExpectPoint(8, 7.0, 9.0, 8.0);
}

TEST_F(PlotViewsTest, ViewButtonsChooseTheViewInFrontAndAllUpKeepsIt)
{
    views.HandleGraphView(false, false, true, false);
    EXPECT_EQ(store.FrontChart(), 3);
    views.HandleGraphView(false, false, false, false);
    EXPECT_EQ(store.FrontChart(), 3);
    views.HandleGraphView(false, false, false, true);
    EXPECT_EQ(store.FrontChart(), 4);
    views.HandleGraphView(true, false, false, false);
    EXPECT_EQ(store.FrontChart(), 1);
}

TEST_F(PlotViewsTest, LinePointsGoToTheirViewAndClearingKeepsTheRest)
{
    views.AddRecordedPoint({1.0f, 2.0f, 3.0f});
    views.ShowLivePosition({1.0f, 2.0f, 3.0f}, true, false, false, false);
    views.AddLinePoint(2, 1, {1.0f, 2.0f, 3.0f});
    views.AddLinePoint(2, 2, {4.0f, 5.0f, 6.0f});
    views.AddLinePoint(4, 1, {7.0f, 8.0f, 9.0f});
    views.AddLinePoint(4, 2, {7.0f, 8.0f, 9.0f});
    views.AddLinePoint(5, 1, {0.0f, 0.0f, 0.0f});
    views.AddLinePoint(1, 3, {0.0f, 0.0f, 0.0f});
    ExpectPoint(10, 1.0, 3.0);
    ExpectPoint(14, 4.0, 6.0);
    ExpectPoint(12, 7.0, 9.0, 8.0);
    ExpectPoint(16, 7.0, 9.0, 8.0);
    EXPECT_EQ(SeriesCounts(), std::vector<int>({1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1}));

    views.ClearLineSeries();
    EXPECT_EQ(SeriesCounts(), std::vector<int>({1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    views.AddLinePoint(3, 1, {1.0f, 2.0f, 3.0f});
    views.ClearAllSeries();
    EXPECT_EQ(SeriesCounts(), std::vector<int>(16, 0));
}

} // namespace
