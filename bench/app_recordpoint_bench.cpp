// A recorded point, window and all, against a device that this benchmark plays on a pseudo-terminal
// and that signals a point in every reply: the time from the moment a reply's last byte is written to
// the end of the handling that put its row in the point table (the next turn of the event loop, when
// the row can be painted), with the work journal writing and syncing each point and without it.
//
// Run: build-rel/bench/app_recordpoint_bench   (about 30 s)
#include "app/qintarform.h"
#include "benchdevice.h"
#include "common/operatordialogs.h"
#include "journal/journal.h"
#include "register/texttable.h"
#include "silentdialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int Points = 150;

void BM_RecordedPoint(benchmark::State &state)
{
    const bool journalled = state.range(0) != 0;
    QTemporaryDir work;
    const QString ports = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/Qintar_54_Ports");
    QDir().mkpath(ports);
    // Every reply a position that signals a recorded point (status 1).
    TBenchDevice device([](int step) {
        return "BR" + QByteArray::number(step).rightJustified(7, ' ') +
               QByteArray::number(step * 3 % 9000).rightJustified(7, ' ') + QByteArray("  -2000") + "1\r";
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
    // A journal without a file writes nothing: the station as it was before the journal.
    if (!journalled && form.Journal())
        form.Journal()->SetFileName({});
    auto *data = qobject_cast<TTextTable *>(form.findChild<QTableView *>(QStringLiteral("sgData"))->model());

    std::vector<double> latenciesUs;
    QEventLoop loop;
    QObject::connect(data, &TTextTable::Edited, &form, [&](TTextTable::TEdit edit) {
        if (edit != TTextTable::TEdit::Row)
            return;
        const qint64 written = device.LastReplyWritten;
        // Measured when the handler that recorded the row has returned, journal write included.
        QTimer::singleShot(0, &form, [&, written] {
            latenciesUs.push_back(double(device.Clock().nsecsElapsed() - written) / 1000.0);
            if (latenciesUs.size() >= size_t(Points))
                loop.quit();
        });
    });
    for (auto _ : state) {
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        form.findChild<QPushButton *>(QStringLiteral("sbOnLine"))->click();
        loop.exec();
        form.findChild<QPushButton *>(QStringLiteral("sbOnLine"))->click();
    }
    if (latenciesUs.size() < size_t(Points)) {
        state.SkipWithError("too few points recorded");
        return;
    }
    std::sort(latenciesUs.begin(), latenciesUs.end());
    double mean = 0.0;
    for (double value : latenciesUs)
        mean += value;
    state.counters["points"] = double(latenciesUs.size());
    state.counters["reply_to_row_us_mean"] = mean / double(latenciesUs.size());
    state.counters["reply_to_row_us_median"] = latenciesUs[latenciesUs.size() / 2];
    state.counters["reply_to_row_us_p95"] = latenciesUs[latenciesUs.size() * 95 / 100];
    state.counters["reply_to_row_us_max"] = latenciesUs.back();
}
// Argument 1: with the journal (as the station runs); 0: without.
BENCHMARK(BM_RecordedPoint)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
