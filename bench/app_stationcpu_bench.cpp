// The station's own CPU time while it polls the device simulator (qintar-devsim --circle) on a
// pseudo-terminal: the whole window, offscreen, on line for a stretch of wall time (20 s unless
// QINTAR_CPU_SECONDS says otherwise), with each of the four views in front, once with no points and
// once with a 999-point project loaded. The counter cpu_percent is the share of one core.
// QINTAR_CPU_DEVSIM passes further options to the simulator; with QINTAR_CPU_NO_JOURNAL set the work
// journal is held paused while the station polls, to show what the journal costs a poll.
//
// Run: build-rel/bench/app_stationcpu_bench   (about three minutes)
#include "app/qintarform.h"
#include "common/coordinatetext.h"
#include "common/operatordialogs.h"
#include "journal/journal.h"
#include "silentdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>

namespace {

constexpr int FullTable = 999;
constexpr int WarmUpMs = 1500;

double ProcessCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Points spread over the views' -100 to 100 mm, as a day's measuring might leave them.
QByteArray ProjectOf(int points)
{
    QByteArray text = "[General]\r\nProject Name = cpu\r\nFiled on 2026Dec09_120000\r\n[Coordinates]\r\n"
                      "Point, X, Y, Z\r\n";
    for (int i = 0; i < points; ++i) {
        const float t = float(i) * 0.37f;
        const float x = 90.0f * std::cos(t) * float(i % 97) / 97.0f;
        const float y = 90.0f * std::sin(t) * float(i % 89) / 89.0f;
        const float z = -90.0f + 180.0f * float(i % 101) / 101.0f;
        text += QStringLiteral("%1,%2,%3,%4\r\n")
                    .arg(i + 1)
                    .arg(FormatCoordinate(x), FormatCoordinate(y), FormatCoordinate(z))
                    .toLatin1();
    }
    text += "[Distances]\r\nPt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR\r\n[Angles]\r\n"
            "Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ\r\n[End]\r\n";
    return text;
}

// With QINTAR_CPU_PAINTS set, counts the paints of each widget during the measured stretch, to show
// what a poll repaints beyond the live marker.
class TPaintCounter : public QObject
{
public:
    QMap<QString, int> Paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const QString name = watched->objectName().isEmpty()
                                     ? QString::fromLatin1(watched->metaObject()->className())
                                     : watched->objectName();
            ++Paints[name];
        }
        return false;
    }
};

// One simulator and one window for all cases, kept on line between them.
class TStation
{
public:
    bool Start(QString *error)
    {
        if (!m_work.isValid())
            return Fail(error, QStringLiteral("no temporary folder"));
        // The simulator runs on its own, outside the station's event loop: a child process watched
        // by the loop would add its own wake-ups to the figures.
        QProcess devsim;
        devsim.setProgram(QStringLiteral(QINTAR_DEVSIM));
        // QINTAR_CPU_DEVSIM adds simulator options, e.g. "--instant" for a line without pacing.
        devsim.setArguments(
            QStringList{QStringLiteral("--port"), QStringLiteral("99"), QStringLiteral("--circle"),
                        QStringLiteral("--force"), QStringLiteral("--no-stdin")} +
            qEnvironmentVariable("QINTAR_CPU_DEVSIM").split(QLatin1Char(' '), Qt::SkipEmptyParts));
        const QString log = m_work.filePath(QStringLiteral("devsim.log"));
        devsim.setStandardOutputFile(log);
        devsim.setStandardErrorFile(log);
        if (!devsim.startDetached(&m_devsimPid))
            return Fail(error, devsim.errorString());
        QElapsedTimer waited;
        waited.start();
        QByteArray output;
        while (!output.contains("ready")) {
            if (waited.elapsed() > 10000)
                return Fail(error, QStringLiteral("the simulator did not get ready: ") +
                                       QString::fromLocal8Bit(output));
            QThread::msleep(50);
            QFile file(log);
            if (file.open(QIODevice::ReadOnly))
                output = file.readAll();
        }

        const QString startDirectory = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        m_form = std::make_unique<TQintarForm>(&m_dialogs);
        QDir::setCurrent(startDirectory);
        m_form->show();
        QObject::connect(m_form.get(), &TQintarForm::PositionShown, m_form.get(), [this] { ++m_positions; });
        Button("sbOnLine")->click();
        // QINTAR_CPU_LARGE_READOUT opens the large readout beside the station for every case.
        if (qEnvironmentVariableIsSet("QINTAR_CPU_LARGE_READOUT"))
            Button("btnLargeReadout")->click();
        return true;
    }

    ~TStation()
    {
        m_form.reset();
        if (m_devsimPid > 0)
            ::kill(pid_t(m_devsimPid), SIGTERM);
    }

    // Loads a project of points (or empties everything with "New" for none).
    void SetPoints(int points)
    {
        if (points == m_points)
            return;
        Button("btnNew")->click();
        if (points > 0) {
            m_dialogs.ProjectFile = m_work.filePath(QStringLiteral("cpu.prj"));
            QFile file(m_dialogs.ProjectFile);
            if (file.open(QIODevice::WriteOnly))
                file.write(ProjectOf(points));
            file.close();
            Button("btnLoadAll")->click();
        }
        m_points = m_form->PointCount();
    }

    int Points() const { return m_points; }

    void BringToFront(int chart)
    {
        const char *names[] = {"sbXYView", "sbXZView", "sbYZView", "sb3DView"};
        QAbstractButton *button = Button(names[chart - 1]);
        // Pressing the button that is down would put it up.
        if (!button->isChecked())
            button->click();
    }

    static void RunFor(int milliseconds)
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }

    int Positions() const { return m_positions; }
    TJournal *Journal() const { return m_form->Journal(); }

private:
    static bool Fail(QString *error, const QString &text)
    {
        *error = text;
        return false;
    }

    QAbstractButton *Button(const char *name) const
    {
        auto *button = m_form->findChild<QAbstractButton *>(QLatin1String(name));
        if (!button)
            qFatal("no control named %s", name);
        return button;
    }

    QTemporaryDir m_work;
    qint64 m_devsimPid = 0;
    TSilentDialogs m_dialogs;
    std::unique_ptr<TQintarForm> m_form;
    int m_points = 0;
    int m_positions = 0;
};

std::unique_ptr<TStation> &Station()
{
    static std::unique_ptr<TStation> station;
    return station;
}

int MeasureMs()
{
    bool valid = false;
    const double seconds = qEnvironmentVariable("QINTAR_CPU_SECONDS").toDouble(&valid);
    return valid && seconds > 0 ? int(seconds * 1000) : 20000;
}

void BM_StationCpu(benchmark::State &state)
{
    const int chart = int(state.range(0));
    const int points = int(state.range(1));
    std::unique_ptr<TStation> &station = Station();
    if (!station) {
        station = std::make_unique<TStation>();
        QString error;
        if (!station->Start(&error)) {
            station.reset();
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    station->SetPoints(points);
    station->BringToFront(chart);
    TStation::RunFor(WarmUpMs);

    std::unique_ptr<TPaintCounter> counter;
    if (qEnvironmentVariableIsSet("QINTAR_CPU_PAINTS")) {
        counter = std::make_unique<TPaintCounter>();
        QApplication::instance()->installEventFilter(counter.get());
    }
    for (auto _ : state) {
        std::optional<TJournal::TPause> paused;
        if (qEnvironmentVariableIsSet("QINTAR_CPU_NO_JOURNAL"))
            paused.emplace(station->Journal());
        const int positionsBefore = station->Positions();
        QElapsedTimer wall;
        const double cpuBefore = ProcessCpuSeconds();
        wall.start();
        TStation::RunFor(MeasureMs());
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        if (counter) {
            QApplication::instance()->removeEventFilter(counter.get());
            for (auto paint = counter->Paints.cbegin(); paint != counter->Paints.cend(); ++paint)
                std::fprintf(stderr, "paints of %s: %d\n", qPrintable(paint.key()), paint.value());
        }
        state.SetIterationTime(seconds);
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        state.counters["polls"] = station->Positions() - positionsBefore;
        state.counters["cpu_us_per_poll"] = station->Positions() > positionsBefore
                                                ? 1e6 * cpu / (station->Positions() - positionsBefore)
                                                : 0.0;
    }
    state.counters["points"] = station->Points();
    state.SetLabel(chart == 4 ? "3D" : chart == 1 ? "X-Y" : chart == 2 ? "X-Z" : "Y-Z");
}
BENCHMARK(BM_StationCpu)
    ->ArgNames({"chart", "points"})
    ->Apply([](benchmark::internal::Benchmark *cases) {
        // The empty station first, then the full table, so that the project is loaded once.
        for (const int points : {0, FullTable})
            for (int chart = 1; chart <= 4; ++chart)
                cases->Args({chart, points});
    })
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The simulator links its pseudo-terminal as COM99 in a private configuration folder, where the
    // station looks for port 99 when it has no settings file.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Station().reset();
    return 0;
}
