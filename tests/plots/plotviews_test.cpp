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

// A part between 0 and 70 mm, as the operator frames it.
class FitTest : public PlotViewsTest, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        views.StartUp();
        views.AddRecordedPoint({0.0f, 10.0f, -5.0f});
        views.AddRecordedPoint({70.0f, 40.0f, 25.0f});
        views.AddRecordedPoint({35.0f, 12.0f, 0.0f});
    }

    void ExpectRange(int chart, TAxis axis, double minimum, double maximum)
    {
        SCOPED_TRACE(testing::Message() << "chart " << chart << " axis " << int(axis));
        EXPECT_DOUBLE_EQ(store.AxisMinimum(chart, axis), minimum);
        EXPECT_DOUBLE_EQ(store.AxisMaximum(chart, axis), maximum);
    }
};

// Every axis of the view spans the largest extent it shows (70 mm in X, 30 in Y and in Z) with a tenth to
// spare on each side, rounded up to whole millimetres: 39 either side of each axis's own middle, 17 in
// the Y-Z view.
TEST_P(FitTest, CentresOnThePointsWithTheLargestExtentAndAMargin)
{
    const int chart = GetParam();
    ASSERT_TRUE(views.Fit(chart));
    const double middles[3] = {35.0, 25.0, 10.0}; // X, Y, Z
    const double half = chart == 3 ? 17.0 : 39.0;
    const double horizontal = chart == 3 ? middles[1] : middles[0];
    const double vertical = chart == 1 ? middles[1] : middles[2];
    ExpectRange(chart, TAxis::Bottom, horizontal - half, horizontal + half);
    ExpectRange(chart, TAxis::Left, vertical - half, vertical + half);
    if (chart == 4)
        ExpectRange(chart, TAxis::Depth, middles[1] - half, middles[1] + half);
    EXPECT_EQ(store.ZoomPosition(chart), int(half));
    // The other views are left as they were.
    ExpectRange(chart % 4 + 1, TAxis::Bottom, -100.0, 100.0);

    // The zoom bar then zooms about the centre the fit chose; Home goes back to the origin.
    views.ZoomChanged(chart, 10);
    ExpectRange(chart, TAxis::Bottom, horizontal - 10.0, horizontal + 10.0);
    views.Home(chart);
    ExpectRange(chart, TAxis::Bottom, -100.0, 100.0);
    ExpectRange(chart, TAxis::Left, -100.0, 100.0);
    EXPECT_EQ(store.ZoomPosition(chart), 100);
}

INSTANTIATE_TEST_SUITE_P(Charts, FitTest, ::testing::Values(1, 2, 3, 4));

TEST_F(FitTest, FramesLinePointsAndExtraExtentAndKeepsTheSmallestZoom)
{
    views.AddLinePoint(1, 1, {-200.0f, 0.0f, 0.0f});
    views.SetFitExtent([] { return std::vector<TPoint3>{{0.0f, 300.0f, 0.0f}}; });
    ASSERT_TRUE(views.Fit(1));
    // From -200 to 70 across and 0 to 300 up: 300 mm, 165 either side; the bar stops at 100.
    ExpectRange(1, TAxis::Bottom, -65.0 - 165.0, -65.0 + 165.0);
    ExpectRange(1, TAxis::Left, 150.0 - 165.0, 150.0 + 165.0);
    EXPECT_EQ(store.ZoomPosition(1), 100);

    // One point alone gets the least zoom, about itself; nothing to frame changes nothing.
    views.SetFitExtent({});
    views.ClearAllSeries();
    views.AddRecordedPoint({12.0f, -7.0f, 0.0f});
    ASSERT_TRUE(views.Fit(2));
    ExpectRange(2, TAxis::Bottom, 7.0, 17.0);
    ExpectRange(2, TAxis::Left, -5.0, 5.0);
    views.ClearAllSeries();
    store.ForgetAxisChanges();
    EXPECT_FALSE(views.Fit(3));
    EXPECT_TRUE(store.AxisChanges().empty());
}

TEST_F(FitTest, PanMovesBothAxesAndNeverInvertsARangeOnTheWay)
{
    views.ZoomChanged(2, 20);
    views.Pan(2, 15.0, -30.0);
    ExpectRange(2, TAxis::Bottom, -5.0, 35.0);
    ExpectRange(2, TAxis::Left, -50.0, -10.0);
    // A pan further than the span: either order of setting would pass the other end unless the end
    // that moves outwards goes first.
    views.Pan(2, -100.0, 100.0);
    ExpectRange(2, TAxis::Bottom, -105.0, -65.0);
    ExpectRange(2, TAxis::Left, 50.0, 90.0);
    for (const auto &change : store.AxisChanges())
        EXPECT_LE(store.AxisMinimum(change.chart, change.axis), store.AxisMaximum(change.chart, change.axis));
    // The 3D view does not pan.
    views.Pan(4, 10.0, 10.0);
    ExpectRange(4, TAxis::Bottom, -100.0, 100.0);
}

TEST_F(FitTest, RowSegmentsArePlacedInEachViewByThePlacementRule)
{
    views.ShowRowSegments({{{1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}}}, {});
    const auto &xz = store.RowSegments(2).first;
    ASSERT_EQ(xz.size(), 1u);
    EXPECT_EQ(xz[0].first.horizontal, 1.0);
    EXPECT_EQ(xz[0].first.vertical, 3.0);
    const auto &threeD = store.RowSegments(4).first;
    ASSERT_EQ(threeD.size(), 1u);
    EXPECT_EQ(threeD[0].second.depth, 5.0);
    EXPECT_EQ(threeD[0].second.vertical, 6.0);
    EXPECT_TRUE(store.RowSegments(1).second.empty());
}

} // namespace
