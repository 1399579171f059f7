// The station's polling cycle, window and all, against a device that this benchmark plays on a
// pseudo-terminal: the period between two polls (the aim: 150 ms plus the line time plus under 1 ms),
// and the time from the moment a reply's last byte is written to the readouts showing it.
//
// Run: build/bench/app_pollcycle_bench   (about 35 s; the counters carry the results)
#include "app/qintarform.h"
#include "benchdevice.h"
#include "common/operatordialogs.h"
#include "silentdialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int Polls = 200;
constexpr double DelayMs = 150.0;

struct TSpread
{
    double mean = 0.0;
    double sd = 0.0;
    double max = 0.0;
};

TSpread SpreadOf(const std::vector<double> &values)
{
    TSpread spread;
    if (values.empty())
        return spread;
    for (double value : values) {
        spread.mean += value;
        spread.max = std::max(spread.max, value);
    }
    spread.mean /= double(values.size());
    for (double value : values)
        spread.sd += (value - spread.mean) * (value - spread.mean);
    spread.sd = std::sqrt(spread.sd / double(values.size()));
    return spread;
}

void BM_PollCycle(benchmark::State &state)
{
    QTemporaryDir work;
    const QString ports = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/Qintar_54_Ports");
    QDir().mkpath(ports);
    // Every reply a position that moves by a thousandth each time.
    TBenchDevice device([](int step) {
        return "BR" + QByteArray::number(step).rightJustified(7, ' ') + QByteArray("   1000") +
               QByteArray("  -2000") + "0\r";
    });
    if (!device.Open(ports + QStringLiteral("/COM99"))) {
        state.SkipWithError("cannot open a pseudo-terminal");
        return;
    }
    TSilentDialogs dialogs;
    const QString startDirectory = QDir::currentPath();
    QDir::setCurrent(work.path());
    TQintarForm form(&dialogs);
    QDir::setCurrent(startDirectory);

    std::vector<double> latenciesUs;
    QObject::connect(&form, &TQintarForm::PositionShown, &form, [&] {
        latenciesUs.push_back(double(device.Clock().nsecsElapsed() - device.LastReplyWritten) / 1000.0);
    });

    for (auto _ : state) {
        device.CommandTimes.clear();
        latenciesUs.clear();
        QEventLoop loop;
        device.OnCommand = [&] {
            if (device.CommandTimes.size() > size_t(Polls))
                loop.quit();
        };
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        form.findChild<QPushButton *>(QStringLiteral("sbOnLine"))->click();
        loop.exec();
        device.OnCommand = nullptr;
        form.findChild<QPushButton *>(QStringLiteral("sbOnLine"))->click();
    }
    if (device.CommandTimes.size() <= size_t(Polls)) {
        state.SkipWithError("the cycle stalled");
        return;
    }

    std::vector<double> overheadMs;
    for (size_t i = 1; i < device.CommandTimes.size(); ++i)
        overheadMs.push_back(double(device.CommandTimes[i] - device.CommandTimes[i - 1]) / 1e6 - DelayMs);
    const TSpread overhead = SpreadOf(overheadMs);
    const TSpread latency = SpreadOf(latenciesUs);
    state.counters["polls"] = double(overheadMs.size());
    state.counters["overhead_ms_mean"] = overhead.mean;
    state.counters["overhead_ms_sd"] = overhead.sd;
    state.counters["overhead_ms_max"] = overhead.max;
    state.counters["reply_to_readout_us_mean"] = latency.mean;
    state.counters["reply_to_readout_us_max"] = latency.max;
}
// The line time of a pseudo-terminal is nil; at 19200 baud the 5-byte poll and 25-byte reply add
// about 15.6 ms to each period on the real line.
BENCHMARK(BM_PollCycle)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
