// Working with the views as an operator does: framing the part, panning, point numbers, tooltips and
// the distance and angle rows drawn over the points.
#include "plots/planeview.h"
#include "plots/plotviews.h"
#include "plots/viewengine.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int ChartWidth = 600;
constexpr int ChartHeight = 520;

class ViewWorkTest : public ::testing::Test
{
protected:
    ViewWorkTest()
    {
        window.resize(ChartWidth + 16, ChartHeight + 140);
        engine.SetPointClickHandler([this](int series, int index) { clicks.emplace_back(series, index); });
        engine.SetPanHandler([this](int chart, double h, double v) { views.Pan(chart, h, v); });
        views.StartUp();
        engine.LayoutCharts(8, 130, ChartWidth, ChartHeight);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A part between 0 and 70 mm.
    void AddPart()
    {
        for (int i = 0; i < 12; ++i) {
            const float t = float(i) * 0.5236f;
            views.AddRecordedPoint(
                {35.0f + 35.0f * std::cos(t), 20.0f + 15.0f * std::sin(t), 5.0f * float(i % 3)});
        }
    }

    void Drag(QWidget *view, Qt::MouseButton button, QPointF from, QPointF to)
    {
        QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), button, button, {});
        QApplication::sendEvent(view, &press);
        const QPointF middle = (from + to) / 2.0;
        for (const QPointF at : {middle, to}) {
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, button, {});
            QApplication::sendEvent(view, &move);
        }
        QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), button, {}, {});
        QApplication::sendEvent(view, &release);
    }

    QWidget window;
    TViewEngine engine{&window};
    TPlotViews views{engine};
    std::vector<std::pair<int, int>> clicks;
};

class FitEachView : public ViewWorkTest, public ::testing::WithParamInterface<int>
{
};

// Zoomed in about the origin, most of the part has left the view; a fit brings every mark back with
// room to spare, and the zoom bar shows the new span.
TEST_P(FitEachView, FramesEveryPointWithAMargin)
{
    const int chart = GetParam();
    AddPart();
    views.ZoomChanged(chart, 10);
    ASSERT_TRUE(views.Fit(chart));
    TViewWidget *view = engine.Chart(chart);
    const QRectF area = chart == 4 ? view->FrameRect() : static_cast<TPlaneView *>(view)->PlotArea();
    double nearestEdge = 1e9;
    for (int i = 0; i < engine.SeriesCount(chart); ++i) {
        const auto place = engine.MarkPosition(chart, i);
        ASSERT_TRUE(place.has_value()) << "point " << i;
        ASSERT_TRUE(area.contains(*place)) << "point " << i;
        nearestEdge = std::min({nearestEdge, place->x() - area.left(), area.right() - place->x(),
                                place->y() - area.top(), area.bottom() - place->y()});
    }
    EXPECT_GE(nearestEdge, 10.0);
    EXPECT_EQ(
        engine.ZoomBar(chart)->value(),
        int(engine.AxisMaximum(chart, TAxis::Bottom) -
            (engine.AxisMaximum(chart, TAxis::Bottom) + engine.AxisMinimum(chart, TAxis::Bottom)) / 2.0));
    // Home: the designed ranges about the origin.
    views.Home(chart);
    EXPECT_EQ(engine.AxisMinimum(chart, TAxis::Left), -100.0);
    EXPECT_EQ(engine.AxisMaximum(chart, TAxis::Bottom), 100.0);
    EXPECT_EQ(engine.ZoomBar(chart)->value(), 100);
}

INSTANTIATE_TEST_SUITE_P(Charts, FitEachView, ::testing::Values(1, 2, 3, 4));

class PanEachPlane : public ViewWorkTest, public ::testing::WithParamInterface<Qt::MouseButton>
{
};

// The marks follow the mouse by the dragged distance, and a pick after the pan and a zoom still finds
// the point under the mouse.
TEST_P(PanEachPlane, MarksFollowTheDragAndPicksStillFindTheirPoint)
{
    AddPart();
    views.HandleGraphView(false, true, false, false);
    auto *view = static_cast<TPlaneView *>(engine.Chart(2));
    const QPointF before = *engine.MarkPosition(2, 3);
    const QPointF empty = view->PlotArea().bottomLeft() + QPointF(30, -30);
    ASSERT_EQ(view->MarkAt(empty), -1);
    Drag(view, GetParam(), empty, empty + QPointF(-120, 50));
    const QPointF after = *engine.MarkPosition(2, 3);
    EXPECT_NEAR(after.x() - before.x(), -120.0, 0.5);
    EXPECT_NEAR(after.y() - before.y(), 50.0, 0.5);
    EXPECT_TRUE(clicks.empty());

    engine.ZoomBar(2)->setValue(60);
    for (const int index : {3, 7}) {
        const auto place = engine.MarkPosition(2, index);
        ASSERT_TRUE(place.has_value());
        QTest::mouseClick(view, Qt::LeftButton, {}, place->toPoint());
    }
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{2, 3}, {2, 7}}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, PanEachPlane, ::testing::Values(Qt::LeftButton, Qt::MiddleButton));

TEST_F(ViewWorkTest, LeftDragFromOutsideThePlotOrInTheThreeDViewDoesNotPan)
{
    AddPart();
    auto *xy = static_cast<TPlaneView *>(engine.Chart(1));
    const QPointF title(xy->width() / 2.0, 12.0);
    Drag(xy, Qt::LeftButton, title, title + QPointF(80, 80));
    EXPECT_EQ(engine.AxisMinimum(1, TAxis::Bottom), -100.0);
    views.HandleGraphView(false, false, false, true);
    Drag(engine.Chart(4), Qt::MiddleButton, QPointF(100, 300), QPointF(200, 350));
    EXPECT_EQ(engine.AxisMinimum(4, TAxis::Bottom), -100.0);
}

TEST_F(ViewWorkTest, TooltipNamesEveryPointUnderTheMouse)
{
    views.AddRecordedPoint({10.0f, 10.0f, 1.0f});
    views.AddRecordedPoint({10.0f, 10.0f, 30.0f});
    views.AddRecordedPoint({60.0f, -40.0f, 3.0f});
    engine.SetMarkTipSource([](const QList<int> &indices) {
        QStringList names;
        for (const int index : indices)
            names << QString::number(index);
        return names.join(QLatin1Char(','));
    });
    TViewWidget *xy = engine.Chart(1);
    EXPECT_EQ(xy->MarkTip(*engine.MarkPosition(1, 0) + QPointF(2, 2)), QStringLiteral("0,1"));
    EXPECT_EQ(xy->MarkTip(*engine.MarkPosition(1, 2)), QStringLiteral("2"));
    EXPECT_EQ(xy->MarkTip(QPointF(40, 40)), QString());
    // In the X-Z view the first two stand apart.
    EXPECT_EQ(engine.Chart(2)->MarkTip(*engine.MarkPosition(2, 1)), QStringLiteral("1"));
}

// 999 points in a small space: many numbers find a place, none overprints another, and the newest
// point always shows its number.
TEST_F(ViewWorkTest, PointNumbersOfCloseMarksNeverOverlap)
{
    QStringList labels;
    for (int i = 0; i < 999; ++i) {
        const float t = float(i) * 0.37f;
        views.AddRecordedPoint({30.0f * std::cos(t) * float(i % 97) / 97.0f,
                                30.0f * std::sin(t) * float(i % 89) / 89.0f, float(i % 50)});
        labels << QString::number(i + 1);
    }
    labels[500].clear();
    engine.SetPointLabels(labels);
    engine.ShowPointLabels(true);
    for (int chart = 1; chart <= 4; ++chart) {
        SCOPED_TRACE(chart);
        TViewWidget *view = engine.Chart(chart);
        view->grab();
        const QList<TPlacedLabel> placed = view->PlacedLabels();
        EXPECT_GT(placed.size(), 10);
        EXPECT_LT(placed.size(), 999);
        ASSERT_FALSE(placed.isEmpty());
        EXPECT_EQ(placed.first().index, 998);
        for (qsizetype a = 0; a < placed.size(); ++a) {
            EXPECT_NE(placed[a].index, 500);
            for (qsizetype b = a + 1; b < placed.size(); ++b)
                ASSERT_FALSE(placed[a].place.intersects(placed[b].place))
                    << placed[a].index << " " << placed[b].index;
        }
    }
    engine.ShowPointLabels(false);
    engine.Chart(1)->grab();
    EXPECT_TRUE(engine.Chart(1)->PlacedLabels().isEmpty());
}

TEST_F(ViewWorkTest, SelectedRowIsDrawnStrongOverTheThinRows)
{
    views.ShowRowSegments({{{-80.0f, 60.0f, 0.0f}, {80.0f, 60.0f, 0.0f}}},
                          {{{-80.0f, -50.0f, 0.0f}, {80.0f, -50.0f, 0.0f}}});
    auto *xy = static_cast<TPlaneView *>(engine.Chart(1));
    const QImage picture = xy->grab().toImage();
    const auto colourAt = [&](QPointF value) {
        return picture.pixelColor(xy->mapToPosition(value).toPoint() + QPoint(0, 0));
    };
    const QColor strong = colourAt({0.0, -50.0});
    EXPECT_LT(strong.red(), 60);
    EXPECT_GT(strong.blue(), 180);
    const QColor thin = colourAt({10.0, 60.0});
    EXPECT_LT(thin.green(), 200) << "the thin row is drawn";
    EXPECT_EQ(xy->HighlightedSegments().size(), 1u);
}

} // namespace
