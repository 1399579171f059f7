// Redrawing each view with a full point table (999 recorded points) and with 10, plus the live marker
// and a distance and an angle in the line series; and plotting a full table as the loaders do.
#include "plots/plotviews.h"
#include "plots/qtchartengine.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

TPoint3 SamplePoint(int i)
{
    const float t = i * 0.37f;
    return {90.0f * std::cos(t) * (i % 97) / 97.0f, 90.0f * std::sin(t) * (i % 89) / 89.0f,
            -90.0f + 180.0f * (i % 101) / 101.0f};
}

struct TFilledViews
{
    QWidget window;
    TQtChartEngine engine{&window};
    TPlotViews views{engine};

    explicit TFilledViews(int points)
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
        window.show();
        QApplication::processEvents();
    }
};

void BM_RedrawView(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    TFilledViews filled(static_cast<int>(state.range(1)));
    QWidget *view = filled.engine.Chart(chart);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(chart == 4 ? "3D" : chart == 1 ? "X-Y" : chart == 2 ? "X-Z" : "Y-Z");
}
BENCHMARK(BM_RedrawView)
    ->ArgNames({"chart", "points"})
    ->Args({1, 10})
    ->Args({1, 999})
    ->Args({2, 10})
    ->Args({2, 999})
    ->Args({3, 10})
    ->Args({3, 999})
    ->Args({4, 10})
    ->Args({4, 999})
    ->Unit(benchmark::kMillisecond);

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
