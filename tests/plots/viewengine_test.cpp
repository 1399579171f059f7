#include "plots/axislabelstep.h"
#include "plots/planeview.h"
#include "plots/plot3dview.h"
#include "plots/plotviews.h"
#include "plots/viewengine.h"
#include "plots/viewseries.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVector3D>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

constexpr int ChartWidth = 600;
constexpr int ChartHeight = 520;

using TClicks = std::vector<std::pair<int, int>>;

class ChartEngineTest : public ::testing::Test
{
protected:
    ChartEngineTest()
    {
        window.resize(ChartWidth + 16, ChartHeight + 140);
        engine.SetPointClickHandler([this](int series, int index) { clicks.emplace_back(series, index); });
        views.StartUp();
        engine.LayoutCharts(8, 130, ChartWidth, ChartHeight);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Brings chart to front and waits until its picture has been painted.
    void ShowInFront(int chart)
    {
        views.HandleGraphView(chart == 1, chart == 2, chart == 3, chart == 4);
        TViewWidget *view = engine.Chart(chart);
        EXPECT_TRUE(QTest::qWaitFor([view] { return view->PictureBuildCount() > 0; }, 10000));
        QApplication::processEvents();
    }

    TPlaneView *Plane(int chart) const { return static_cast<TPlaneView *>(engine.Chart(chart)); }

    // Whether the picture of chart holds colour within a couple of pixels of position.
    static bool HasColourNear(const QImage &image, QPointF position, const QColor &colour)
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor seen = image.pixelColor(qRound(position.x()) + dx, qRound(position.y()) + dy);
                if (std::abs(seen.red() - colour.red()) < 40 &&
                    std::abs(seen.green() - colour.green()) < 40 &&
                    std::abs(seen.blue() - colour.blue()) < 40)
                    return true;
            }
        return false;
    }

    QWidget window;
    TViewEngine engine{&window};
    TPlotViews views{engine};
    TClicks clicks;
};

TEST_F(ChartEngineTest, NamesSizesAndPlacesOfChartsSeriesAndBars)
{
    for (int n = 1; n <= 4; ++n) {
        QWidget *chart = window.findChild<QWidget *>(QStringLiteral("Chart%1").arg(n));
        ASSERT_EQ(chart, engine.Chart(n));
        EXPECT_EQ(chart->geometry(), QRect(8, 130, ChartWidth, ChartHeight));
    }
    const char *titles[] = {"X-Y Plane", "X-Z Plane", "Y-Z Plane", "3D View"};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(engine.Chart(n)->accessibleName(), QLatin1String(titles[n - 1]));
    views.AddRecordedPoint({1.0f, 2.0f, 3.0f});
    views.AddLinePoint(2, 2, {1.0f, 2.0f, 3.0f});
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("Series%1").arg(n);
        QObject *series = window.findChild<QObject *>(name);
        ASSERT_NE(series, nullptr) << name.toStdString();
        EXPECT_EQ(series->parent(), engine.Chart((n - 1) % 4 + 1)) << name.toStdString();
        EXPECT_EQ(series->property("count").toInt(), n <= 4 || n == 14 ? 1 : 0) << name.toStdString();
        EXPECT_FALSE(
            series->metaObject()->property(series->metaObject()->indexOfProperty("count")).isWritable());
    }

    struct TBar
    {
        const char *name;
        int chart;
        QRect geometry;
        int minimum, maximum, value;
    };
    const TBar bars[] = {
        {"scrlZoomXY", 1, {ChartWidth - 25, 210, 17, 121}, 5, 100, 100},
        {"scrlZoomXZ", 2, {ChartWidth - 25, 210, 17, 121}, 5, 100, 100},
        {"scrlZoomYZ", 3, {ChartWidth - 25, 210, 17, 121}, 5, 100, 100},
        {"scrlZoom3D", 4, {ChartWidth - 25, 210, 17, 121}, 5, 100, 100},
        {"scrlRotate3D", 4, {ChartWidth - 148, ChartHeight - 22, 121, 17}, 0, 360, 301},
        {"scrlElevate3D", 4, {ChartWidth - 25, ChartHeight - 146, 17, 121}, 0, 360, 344},
    };
    for (const TBar &expected : bars) {
        SCOPED_TRACE(expected.name);
        auto *bar = window.findChild<QScrollBar *>(expected.name);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->parentWidget(), engine.Chart(expected.chart));
        EXPECT_EQ(bar->geometry(), expected.geometry);
        EXPECT_EQ(bar->minimum(), expected.minimum);
        EXPECT_EQ(bar->maximum(), expected.maximum);
        EXPECT_EQ(bar->value(), expected.value);
        EXPECT_GT(bar->pageStep(), 1);
        EXPECT_TRUE(engine.BarTip(bar).contains(QString::number(expected.value)));
        EXPECT_EQ(bar->isVisibleTo(&window), true);
    }
    // The value follows whatever the window says the bar does.
    engine.ZoomBar(2)->setToolTip(QStringLiteral("Zoom the X-Z view"));
    engine.ZoomBar(2)->setValue(40);
    EXPECT_EQ(engine.BarTip(engine.ZoomBar(2)), QStringLiteral("Zoom the X-Z view\n-40 to 40 mm"));
    EXPECT_EQ(engine.ZoomBar(4), window.findChild<QScrollBar *>("scrlZoom3D"));
    EXPECT_EQ(engine.RotateBar(), window.findChild<QScrollBar *>("scrlRotate3D"));
}

TEST_F(ChartEngineTest, LayoutBringsTheXYViewToFrontWhateverWasChosen)
{
    views.HandleGraphView(false, false, false, true);
    EXPECT_EQ(window.childAt(300, 300), engine.Chart(4));
    engine.LayoutCharts(8, 130, ChartWidth, ChartHeight);
    EXPECT_EQ(engine.FrontChart(), 1);
    QWidget *seen = window.childAt(300, 300);
    EXPECT_TRUE(seen == engine.Chart(1) || engine.Chart(1)->isAncestorOf(seen));
}

class PlaneViewTest : public ChartEngineTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(PlaneViewTest, RecordedPointShowsWhereThePlacementRulePutsItAndAnyButtonPicksIt)
{
    const int chart = GetParam();
    TPlaneView *view = Plane(chart);
    views.HandleGraphView(chart == 1, chart == 2, chart == 3, false);
    views.AddRecordedPoint({-60.0f, -20.0f, 40.0f});
    views.AddRecordedPoint({30.0f, 70.0f, -50.0f});
    // A line across an empty part of the view: clicks on it report nothing.
    views.AddLinePoint(chart, 1, {-80.0f, -80.0f, -80.0f});
    views.AddLinePoint(chart, 1, {80.0f, -80.0f, -80.0f});
    // No pass of the event loop: points just added must show in the very next picture.
    const QImage picture = view->grab().toImage();

    // The second point by the placement rule: (X, Y), (X, Z), (Y, Z).
    const QPointF expectedValue = chart == 1   ? QPointF(30, 70)
                                  : chart == 2 ? QPointF(30, -50)
                                               : QPointF(70, -50);
    const QRectF area = view->PlotArea();
    const QPointF expected(area.left() + (expectedValue.x() + 100.0) / 200.0 * area.width(),
                           area.bottom() - (expectedValue.y() + 100.0) / 200.0 * area.height());
    // What automation asks the view for is where the mark is drawn.
    QPointF mapped;
    ASSERT_TRUE(QMetaObject::invokeMethod(view, "mapToPosition", Q_RETURN_ARG(QPointF, mapped),
                                          Q_ARG(QPointF, expectedValue)));
    EXPECT_NEAR(mapped.x(), expected.x(), 1e-9);
    EXPECT_NEAR(mapped.y(), expected.y(), 1e-9);
    const auto drawnAt = engine.MarkPosition(chart, 1);
    ASSERT_TRUE(drawnAt.has_value());
    EXPECT_EQ(*drawnAt, mapped);

    const QColor starColour = chart == 2   ? QColor(Qt::yellow)
                              : chart == 3 ? QColor(0, 255, 64)
                                           : QColor(0x20, 0x9f, 0xdf);
    EXPECT_TRUE(HasColourNear(picture, expected, starColour));

    const QPoint lineMiddle(qRound(area.center().x()), qRound(area.bottom() - 20.0 / 200.0 * area.height()));
    QTest::mouseClick(view, Qt::LeftButton, {}, lineMiddle);
    QTest::mouseClick(view, Qt::RightButton, {}, area.center().toPoint());
    // The button is of no account: a right or middle press on the mark picks it, a few pixels off too.
    QTest::mouseClick(view, Qt::RightButton, {}, mapped.toPoint() + QPoint(1, -1));
    QTest::mouseClick(view, Qt::MiddleButton, {}, mapped.toPoint() + QPoint(-4, 3));
    EXPECT_EQ(clicks, (TClicks{{chart, 1}, {chart, 1}}));
    // A pick is not a zoom, nor is a click on an empty place.
    EXPECT_EQ(engine.AxisMaximum(chart, TAxis::Bottom), 100.0);
    EXPECT_EQ(engine.AxisMinimum(chart, TAxis::Left), -100.0);
    EXPECT_EQ(views.ClickedPoint(chart, clicks[0].second), (chart == 1   ? TPoint3{30.0f, 70.0f, 0.0f}
                                                            : chart == 2 ? TPoint3{30.0f, 0.0f, -50.0f}
                                                                         : TPoint3{0.0f, 70.0f, -50.0f}));
}

INSTANTIATE_TEST_SUITE_P(Charts, PlaneViewTest, ::testing::Values(1, 2, 3));

TEST_F(ChartEngineTest, ZoomedOutPointIsNeitherDrawnNorPicked)
{
    views.AddRecordedPoint({60.0f, 0.0f, 0.0f});
    views.ZoomChanged(1, 50);
    EXPECT_FALSE(engine.MarkPosition(1, 0).has_value());
    const auto onEdge = engine.MarkPosition(5, 0);
    EXPECT_FALSE(onEdge.has_value());
    const QRectF area = Plane(1)->PlotArea();
    EXPECT_EQ(engine.MarkAt(1, QPointF(area.right() + 20.0, area.center().y())), -1);
}

TEST_F(ChartEngineTest, ThreeDViewStandsZUpAndYInDepth)
{
    // Looking straight at the X-Z face: X runs right, Z runs up, and Y only moves a point along the
    // line of sight (towards the centre).
    views.RotationChanged(0);
    views.ElevationChanged(0);
    views.HandleGraphView(false, false, false, true);
    views.AddRecordedPoint({0.0f, 0.0f, 0.0f});
    views.AddRecordedPoint({50.0f, 0.0f, 0.0f});
    views.AddRecordedPoint({0.0f, 0.0f, 50.0f});
    views.AddRecordedPoint({0.0f, 50.0f, 0.0f});
    const QPointF origin = *engine.MarkPosition(4, 0);
    const QPointF alongX = *engine.MarkPosition(4, 1);
    const QPointF alongZ = *engine.MarkPosition(4, 2);
    const QPointF alongY = *engine.MarkPosition(4, 3);
    EXPECT_GT(alongX.x(), origin.x() + 20.0);
    EXPECT_NEAR(alongX.y(), origin.y(), 0.5);
    EXPECT_LT(alongZ.y(), origin.y() - 20.0);
    EXPECT_NEAR(alongZ.x(), origin.x(), 0.5);
    EXPECT_NEAR(alongY.x(), origin.x(), 0.5);
    EXPECT_NEAR(alongY.y(), origin.y(), 0.5);

    const QImage picture = engine.Chart(4)->grab().toImage();
    EXPECT_TRUE(HasColourNear(picture, alongX, QColor(0x20, 0x9f, 0xdf)));

    // Automation finds the mark from the point table's X, Y, Z.
    QPointF mapped;
    ASSERT_TRUE(QMetaObject::invokeMethod(engine.Chart(4), "mapToPosition", Q_RETURN_ARG(QPointF, mapped),
                                          Q_ARG(QVector3D, QVector3D(0.0f, 0.0f, 50.0f))));
    EXPECT_EQ(mapped, alongZ);
    QTest::mouseClick(engine.Chart(4), Qt::MiddleButton, {}, mapped.toPoint());
    QTest::mouseClick(engine.Chart(4), Qt::LeftButton, {}, (alongZ + QPointF(40, 0)).toPoint());
    EXPECT_EQ(clicks, (TClicks{{4, 2}}));
    EXPECT_EQ(views.ClickedPoint(4, 2), (TPoint3{0.0f, 0.0f, 50.0f}));
}

TEST_F(ChartEngineTest, ThreeDDistanceLinePassesThroughBothMarks)
{
    views.AddRecordedPoint({-30.0f, 20.0f, 10.0f});
    views.AddRecordedPoint({40.0f, -10.0f, 60.0f});
    views.AddLinePoint(4, 1, {-30.0f, 20.0f, 10.0f});
    views.AddLinePoint(4, 1, {40.0f, -10.0f, 60.0f});
    for (int index = 0; index < 2; ++index) {
        const auto mark = engine.MarkPosition(4, index);
        const auto lineEnd = engine.MarkPosition(12, index);
        ASSERT_TRUE(mark && lineEnd);
        EXPECT_NEAR(mark->x(), lineEnd->x(), 1e-9);
        EXPECT_NEAR(mark->y(), lineEnd->y(), 1e-9);
    }
}

TEST_F(ChartEngineTest, RotationBarTurnsTheThreeDPicture)
{
    QObject::connect(engine.RotateBar(), &QScrollBar::valueChanged, &window,
                     [this](int value) { views.RotationChanged(value); });
    QObject::connect(engine.ElevateBar(), &QScrollBar::valueChanged, &window,
                     [this](int value) { views.ElevationChanged(value); });
    views.HandleGraphView(false, false, false, true);
    views.AddRecordedPoint({50.0f, 50.0f, 50.0f});
    const QPointF before = *engine.MarkPosition(4, 0);
    const QImage start = engine.Chart(4)->grab().toImage();

    engine.RotateBar()->setValue(200);
    EXPECT_EQ(engine.Rotation(), 200);
    const QPointF after = *engine.MarkPosition(4, 0);
    EXPECT_GT(QLineF(before, after).length(), 10.0);
    EXPECT_NE(engine.Chart(4)->grab().toImage(), start);
    EXPECT_TRUE(HasColourNear(engine.Chart(4)->grab().toImage(), after, QColor(0x20, 0x9f, 0xdf)));

    engine.ElevateBar()->setValue(10);
    EXPECT_EQ(engine.Elevation(), 10);
    // A new layout takes the bars to the view's angles, which changes nothing.
    engine.LayoutCharts(8, 130, ChartWidth, ChartHeight);
    EXPECT_EQ(engine.RotateBar()->value(), 200);
    EXPECT_EQ(engine.ElevateBar()->value(), 10);
}

TEST_F(ChartEngineTest, ZoomBarSetsTheAxesTheEngineDraws)
{
    views.AddRecordedPoint({4.0f, 0.0f, -4.0f});
    const QPointF wide = *engine.MarkPosition(2, 0);
    views.ZoomChanged(4, 40);
    views.ZoomChanged(2, 5);
    for (const TAxis axis : {TAxis::Bottom, TAxis::Left, TAxis::Depth})
        EXPECT_EQ(engine.AxisMaximum(4, axis), 40.0);
    EXPECT_EQ(engine.AxisMinimum(2, TAxis::Bottom), -5.0);
    EXPECT_EQ(engine.AxisMaximum(2, TAxis::Bottom), 5.0);
    EXPECT_EQ(engine.AxisMinimum(1, TAxis::Bottom), -100.0);
    // The mark moves out towards the corner of the plot that the zoom now shows.
    const QPointF close = *engine.MarkPosition(2, 0);
    const QRectF area = Plane(2)->PlotArea();
    EXPECT_NEAR(close.x(), area.left() + 0.9 * area.width(), 1e-9);
    EXPECT_NEAR(close.y(), area.bottom() - 0.1 * area.height(), 1e-9);
    EXPECT_GT(close.x(), wide.x() + 100.0);
}

TEST_F(ChartEngineTest, LiveAndLineSeriesAreNeverPicked)
{
    views.ShowLivePosition({10.0f, 10.0f, 10.0f}, true, false, false, true);
    views.AddLinePoint(1, 1, {-10.0f, -10.0f, 0.0f});
    views.AddLinePoint(4, 1, {-10.0f, -10.0f, -10.0f});
    for (const auto &[chart, series] : {std::pair{1, 5}, {1, 9}, {4, 8}, {4, 12}}) {
        const auto mark = engine.MarkPosition(series, 0);
        ASSERT_TRUE(mark.has_value());
        EXPECT_EQ(engine.MarkAt(chart, *mark), -1) << "Series" << series;
    }
}

// Collects the regions that a widget is asked to paint.
class TPaintSpy : public QObject
{
public:
    explicit TPaintSpy(QWidget *widget) { widget->installEventFilter(this); }
    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent *>(event)->region();
            ++paints;
        }
        return false;
    }
};

class ViewLayersTest : public ChartEngineTest, public ::testing::WithParamInterface<int>
{
protected:
    // Lets the window paint what is due, and returns what one view painted meanwhile.
    QRegion PaintsOf(TViewWidget *view, const std::function<void()> &change)
    {
        TPaintSpy spy(view);
        change();
        EXPECT_TRUE(QTest::qWaitFor([&] { return spy.paints > 0; }, 10000));
        QApplication::processEvents();
        return spy.painted;
    }

    void ShowLive(int chart, TPoint3 point)
    {
        views.ShowLivePosition(point, chart == 1, chart == 2, chart == 3, chart == 4);
    }
};

TEST_P(ViewLayersTest, LiveMoveRepaintsOnlyTheMarkerAndThePictureIsBuiltOnlyForNewContent)
{
    const int chart = GetParam();
    TViewWidget *view = engine.Chart(chart);
    for (int i = 0; i < 50; ++i)
        views.AddRecordedPoint({-90.0f + 3.6f * i, 40.0f - 1.5f * i, 2.0f * i - 50.0f});
    ShowLive(chart, {10.0f, 20.0f, 30.0f});
    ShowInFront(chart);
    const int builds = view->PictureBuildCount();
    const QRect from = view->LiveMarkerRect();
    ASSERT_FALSE(from.isEmpty());

    const QRegion moved = PaintsOf(view, [&] { ShowLive(chart, {-30.0f, -40.0f, -20.0f}); });
    const QRect to = view->LiveMarkerRect();
    ASSERT_FALSE(to.isEmpty());
    EXPECT_NE(from, to);
    EXPECT_TRUE(moved.subtracted(QRegion(from).united(to)).isEmpty()) << moved.boundingRect().width();
    EXPECT_TRUE(moved.contains(from) && moved.contains(to));
    EXPECT_EQ(view->PictureBuildCount(), builds);
    // The marker shows at its new place, and what the window shows is the view drawn afresh: no
    // trace of the marker is left at its old place.
    const QImage picture = view->grab().toImage();
    EXPECT_TRUE(HasColourNear(picture, QRectF(to).center(), QColor(200, 0, 150)));
    EXPECT_FALSE(HasColourNear(picture, QRectF(from).center(), QColor(200, 0, 150)));
    const QImage shown = window.screen()
                             ->grabWindow(window.winId(), view->x(), view->y(), view->width(), view->height())
                             .toImage()
                             .convertToFormat(picture.format());
    EXPECT_EQ(shown, picture);

    // A zoom and a new point each build the picture again, and the whole view is painted.
    const QRegion zoomed = PaintsOf(view, [&] { views.ZoomChanged(chart, 60); });
    EXPECT_EQ(view->PictureBuildCount(), builds + 1);
    EXPECT_TRUE(zoomed.contains(view->rect()));
    PaintsOf(view, [&] { views.AddRecordedPoint({1.0f, 2.0f, 3.0f}); });
    EXPECT_EQ(view->PictureBuildCount(), builds + 2);
}

INSTANTIATE_TEST_SUITE_P(Charts, ViewLayersTest, ::testing::Values(1, 2, 3, 4));

TEST_F(ChartEngineTest, RightPressOnAMarkPicksWithoutTheMenuAndElsewhereOpensIt)
{
    ShowInFront(2);
    views.AddRecordedPoint({20.0f, 0.0f, 20.0f});
    TViewWidget *view = engine.Chart(2);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    int menus = 0;
    QObject::connect(view, &QWidget::customContextMenuRequested, &window, [&menus] { ++menus; });
    const QPoint mark = view->mapTo(&window, engine.MarkPosition(2, 0)->toPoint());
    // Through the window, as the operator's mouse comes, so that the menu request follows the press.
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, mark);
    EXPECT_EQ(clicks, (TClicks{{2, 0}}));
    EXPECT_EQ(menus, 0);
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, mark + QPoint(60, 60));
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(menus, 1);
}

TEST_F(ChartEngineTest, WheelOverTheViewMovesItsZoomBar)
{
    // Turned away from the user, the wheel narrows the range as moving the thumb up does.
    for (const int chart : {1, 4}) {
        ShowInFront(chart);
        const QPointF at(100, 100);
        QWheelEvent up(at, engine.Chart(chart)->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {},
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(engine.Chart(chart), &up);
    }
    EXPECT_LT(engine.ZoomBar(1)->value(), 100);
    EXPECT_LT(engine.ZoomBar(4)->value(), 100);
    EXPECT_EQ(engine.ZoomBar(2)->value(), 100);
}

struct TStepCase
{
    double span, pixels, labelPixels, leastStep, step;
    int decimals;
};

void PrintTo(const TStepCase &c, std::ostream *out)
{
    *out << c.span << " mm over " << c.pixels << " px, least step " << c.leastStep;
}

class AxisLabelStepTest : public ::testing::TestWithParam<TStepCase>
{
};

TEST_P(AxisLabelStepTest, WidensTheLeastStepUntilLabelsFit)
{
    const TStepCase &c = GetParam();
    const double step = AxisLabelStep(c.span, c.pixels, c.labelPixels, c.leastStep);
    EXPECT_DOUBLE_EQ(step, c.step);
    EXPECT_EQ(AxisLabelDecimals(step), c.decimals);
}

INSTANTIATE_TEST_SUITE_P(Axes, AxisLabelStepTest,
                         ::testing::Values(TStepCase{200, 500, 40, 1, 20, 0}, // +-100 mm on a plane view
                                           TStepCase{10, 500, 40, 1, 1, 0},   // +-5 mm: the least step holds
                                           TStepCase{10, 500, 40, 0, 1, 0},   // automatic: 0.8 rounds up to 1
                                           TStepCase{2, 500, 40, 0, 0.2, 1},  // automatic goes below 1
                                           TStepCase{200, 2000, 40, 10, 10, 0}, // 3D: 10 when there is room
                                           TStepCase{200, 300, 40, 10, 50, 0},  // 26.7 rounds up to 50
                                           TStepCase{200, 0, 40, 1, 200, 0},    // a view not yet laid out
                                           TStepCase{0, 500, 40, 1, 1, 0}));    // an empty range

} // namespace

namespace {

// Pictures of the four views with a few dozen points, a distance and an angle, for looking at by eye:
// set QINTAR_PLOT_SHOTS to a folder to have them written there.
TEST_F(ChartEngineTest, WritesPicturesWhenAsked)
{
    const QString folder = qEnvironmentVariable("QINTAR_PLOT_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "QINTAR_PLOT_SHOTS not set";
    QDir().mkpath(folder);
    for (int i = 0; i < 36; ++i) {
        const float t = i * 0.35f;
        views.AddRecordedPoint({70.0f * std::cos(t) * (0.4f + i / 60.0f),
                                60.0f * std::sin(t) * (0.5f + i / 72.0f), -70.0f + 4.0f * i});
    }
    const TPoint3 a = {-40.0f, -30.0f, 20.0f}, b = {35.0f, 45.0f, -25.0f}, c = {60.0f, -50.0f, 55.0f};
    for (const TPoint3 &p : {a, b, c})
        views.AddRecordedPoint(p);
    views.AddLinePoint(1, 1, a);
    views.AddLinePoint(1, 1, b);
    views.AddLinePoint(2, 1, a);
    views.AddLinePoint(2, 1, b);
    views.AddLinePoint(2, 2, b);
    views.AddLinePoint(2, 2, c);
    views.AddLinePoint(4, 1, a);
    views.AddLinePoint(4, 1, c);
    views.ShowLivePosition({10.0f, 20.0f, 30.0f}, true, false, false, false);
    views.ShowLivePosition({10.0f, 20.0f, 30.0f}, false, true, false, false);
    views.ShowLivePosition({10.0f, 20.0f, 30.0f}, false, false, true, false);
    views.ShowLivePosition({10.0f, 20.0f, 30.0f}, false, false, false, true);
    for (int chart = 1; chart <= 4; ++chart) {
        views.HandleGraphView(chart == 1, chart == 2, chart == 3, chart == 4);
        QApplication::processEvents();
        EXPECT_TRUE(
            engine.Chart(chart)->grab().save(QStringLiteral("%1/chart%2.png").arg(folder).arg(chart)));
    }
    views.ZoomChanged(1, 30);
    views.ZoomChanged(4, 60);
    views.RotationChanged(30);
    views.ElevationChanged(320);
    for (const int chart : {1, 4}) {
        views.HandleGraphView(chart == 1, false, false, chart == 4);
        QApplication::processEvents();
        EXPECT_TRUE(
            engine.Chart(chart)->grab().save(QStringLiteral("%1/chart%2-turned.png").arg(folder).arg(chart)));
    }
}

} // namespace

namespace {

// The features layer: drawn into the picture over the points, the selected feature in its own colour,
// and set anew only when the features change.
TEST_F(ChartEngineTest, FeaturesAreDrawnOnTheirOwnLayerWithTheSelectedOneHighlighted)
{
    ShowInFront(1);
    TViewWidget *view = engine.Chart(1);
    const int builds = view->PictureBuildCount();
    TGeometryFeature circle;
    circle.type = TFeatureType::Circle;
    circle.direction = {0, 0, 1};
    circle.diameter = 100.0;
    TGeometryFeature line;
    line.type = TFeatureType::Line;
    line.location = {0, -30, 0};
    line.direction = {1, 0, 0};
    views.ShowFeatures({{circle, {}, false}, {line, {{-60, -30, 0}, {60, -30, 0}}, true}});
    const QImage picture = view->grab().toImage();
    EXPECT_EQ(view->PictureBuildCount(), builds + 1);
    EXPECT_TRUE(HasColourNear(picture, Plane(1)->mapToPosition({50.0, 0.0}), QColor(0, 110, 120)));
    EXPECT_TRUE(HasColourNear(picture, Plane(1)->mapToPosition({0.0, -30.0}), QColor(255, 110, 0)));
    // The segment ends at its extreme points.
    EXPECT_FALSE(HasColourNear(picture, Plane(1)->mapToPosition({80.0, -30.0}), QColor(255, 110, 0)));

    // Live moves leave the picture alone; an unchanged empty layer is no new content.
    views.ShowLivePosition({10.0f, 10.0f, 0.0f}, true, false, false, false);
    QApplication::processEvents();
    views.ShowFeatures({});
    view->grab();
    views.ShowFeatures({});
    view->grab();
    EXPECT_EQ(view->PictureBuildCount(), builds + 2);
}

} // namespace
