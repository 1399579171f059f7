// Per view: a full redraw (the cached picture built again, as a zoom does, and painted) with a full
// point table (999 recorded points) and with 10, plus the live marker and a distance and an angle in
// the line series; the paint that one move of the live marker causes, with 0 and 999 points; and
// plotting a full table as the loaders do; a redraw with every point numbered and 999 rows drawn. Each with
// no features and with 20 on the features layer (circles, cylinders, planes, lines and spheres), one of them
// highlighted.
//
// Run: build-rel/bench/plots_bench   (Release, offscreen)
#include "plots/plotviews.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

TPoint3 SamplePoint(int i)
{
    const float t = i * 0.37f;
    return {90.0f * std::cos(t) * (i % 97) / 97.0f, 90.0f * std::sin(t) * (i % 89) / 89.0f,
            -90.0f + 180.0f * (i % 101) / 101.0f};
}

const char *ViewName(int chart)
{
    return chart == 4 ? "3D" : chart == 1 ? "X-Y" : chart == 2 ? "X-Z" : "Y-Z";
}

// Twenty features round the sample points, of every kind that draws an outline.
std::vector<TPlotViews::TDrawnFeature> SampleFeatures(int count)
{
    std::vector<TPlotViews::TDrawnFeature> features;
    constexpr std::array types{TFeatureType::Circle, TFeatureType::Cylinder, TFeatureType::Plane,
                               TFeatureType::Line, TFeatureType::Sphere};
    for (int i = 0; i < count; ++i) {
        TGeometryFeature feature;
        feature.type = types[i % types.size()];
        const TPoint3 at = SamplePoint(i * 7);
        feature.location = {at.x, at.y, at.z};
        feature.direction = Eigen::Vector3d(0.2 * (i % 3), 0.1 * (i % 5), 1.0).normalized();
        feature.diameter = 10.0 + i;
        TPointList points;
        for (int k = 0; k < 8; ++k) {
            const TPoint3 p = SamplePoint(i * 7 + k);
            points.emplace_back(p.x, p.y, p.z);
        }
        features.push_back({feature, points, i == 3});
    }
    return features;
}

struct TFilledViews
{
    QWidget window;
    TViewEngine engine{&window};
    TPlotViews views{engine};

    explicit TFilledViews(int points, int features = 0)
    {
        window.resize(620, 700);
        views.StartUp();
        engine.LayoutCharts(8, 130, 600, 545);
        for (int i = 0; i < points; ++i)
            views.AddRecordedPoint(SamplePoint(i));
        views.ShowLivePosition(SamplePoint(5), true, true, true, true);
        for (int chart = 1; chart <= 4; ++chart) {
            views.AddLinePoint(chart, 1, SamplePoint(1));
            views.AddLinePoint(chart, 1, SamplePoint(2));
            views.AddLinePoint(chart, 2, SamplePoint(2));
            views.AddLinePoint(chart, 2, SamplePoint(3));
        }
        views.ShowFeatures(SampleFeatures(features));
        window.show();
        QApplication::processEvents();
    }
};

void BM_RedrawView(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    TFilledViews filled(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    QWidget *view = filled.engine.Chart(chart);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        // Setting the zoom bar's ranges again makes the view build its picture anew.
        filled.views.ZoomChanged(chart, 100);
        QPainter painter(&image);
        view->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(ViewName(chart));
}
BENCHMARK(BM_RedrawView)
    ->ArgNames({"chart", "points", "features"})
    ->ArgsProduct({{1, 2, 3, 4}, {10, 999}, {0, 20}})
    ->Unit(benchmark::kMillisecond);

// A full redraw with 999 points numbered and 999 distance rows drawn thinly, one of them selected (the
// views as "Point numbers" and "Show all" leave them).
void BM_RedrawNumberedWithRows(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    TFilledViews filled(999);
    QStringList labels;
    TPlotViews::TSegments rows;
    for (int i = 0; i < 999; ++i) {
        labels << QString::number(i + 1);
        rows.emplace_back(SamplePoint(i), SamplePoint((i * 7 + 3) % 999));
    }
    filled.engine.SetPointLabels(labels);
    filled.engine.ShowPointLabels(true);
    filled.views.ShowRowSegments(rows, {rows.front()});
    QWidget *view = filled.engine.Chart(chart);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        filled.views.ZoomChanged(chart, 100);
        QPainter painter(&image);
        view->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(ViewName(chart));
}
BENCHMARK(BM_RedrawNumberedWithRows)->ArgNames({"chart"})->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// One poll's move of the live marker in the view in front, and the paint it causes in the window.
void BM_LiveMove(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    TFilledViews filled(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    filled.views.HandleGraphView(chart == 1, chart == 2, chart == 3, chart == 4);
    QApplication::processEvents();
    TViewWidget *view = filled.engine.Chart(chart);
    const int builds = view->PictureBuildCount();
    int step = 0;
    for (auto _ : state) {
        const float angle = float(step++ % 72) * 0.0872665f;
        filled.views.ShowLivePosition({50.0f * std::cos(angle), 50.0f * std::sin(angle), 0.0f}, chart == 1,
                                      chart == 2, chart == 3, chart == 4);
        QApplication::processEvents();
    }
    if (view->PictureBuildCount() != builds)
        state.SkipWithError("a live move built the picture again");
    state.SetLabel(ViewName(chart));
}
BENCHMARK(BM_LiveMove)
    ->ArgNames({"chart", "points", "features"})
    ->ArgsProduct({{1, 2, 3, 4}, {0, 999}, {0, 20}})
    ->Unit(benchmark::kMicrosecond);

// A project or coordinates file of 999 rows plotted point by point, then drawn once.
void BM_PlotFullTable(benchmark::State &state)
{
    TFilledViews filled(0);
    for (auto _ : state) {
        filled.views.ClearAllSeries();
        for (int i = 0; i < 999; ++i)
            filled.views.AddRecordedPoint(SamplePoint(i));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PlotFullTable)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
