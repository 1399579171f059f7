// A recorded point, window and all, against a device that this benchmark plays on a pseudo-terminal
// and that signals a point in every reply: the time from the moment a reply's last byte is written to
// the end of the handling that put its row in the point table (the next turn of the event loop, when
// the row can be painted), with the work journal writing and syncing each point and without it.
//
// Run: build-rel/bench/app_recordpoint_bench   (about 30 s)
#include "app/qintarform.h"
#include "common/operatordialogs.h"
#include "journal/journal.h"
#include "register/texttable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Points = 150;

// Answers every command at once with a position reply that signals a recorded point (status 1).
class TRecordingDevice : public QObject
{
public:
    bool Open(const QString &link)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return false;
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        QFile::remove(link);
        if (!QFile::link(QString::fromLocal8Bit(::ptsname(m_master)), link))
            return false;
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &TRecordingDevice::Read);
        m_clock.start();
        return true;
    }

    ~TRecordingDevice() override
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }

    qint64 LastReplyWritten = 0;
    const QElapsedTimer &Clock() const { return m_clock; }

private:
    void Read()
    {
        char bytes[256];
        const ssize_t count = ::read(m_master, bytes, sizeof bytes);
        for (ssize_t i = 0; i < count; ++i) {
            if (bytes[i] != '\r')
                continue;
            ++m_step;
            const QByteArray reply = "BR" + QByteArray::number(m_step).rightJustified(7, ' ') +
                                     QByteArray::number(m_step * 3 % 9000).rightJustified(7, ' ') +
                                     QByteArray("  -2000") + "1\r";
            [[maybe_unused]] const ssize_t written =
                ::write(m_master, reply.constData(), size_t(reply.size()));
            LastReplyWritten = m_clock.nsecsElapsed();
        }
    }

    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_step = 0;
    QElapsedTimer m_clock;
};

class TSilentDialogs : public TOperatorDialogs
{
public:
    void ShowMessage(const QString &) override {}
    void ShowError(const QString &text) override { qWarning("error: %s", qPrintable(text)); }
    bool AskYesNo(const QString &, TStyle) override { return true; }
    std::optional<QString> OpenFileName(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    std::optional<QString> SaveFileName(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    void PlaySound(const QString &) override {}
    void Beep() override {}
};

void BM_RecordedPoint(benchmark::State &state)
{
    const bool journalled = state.range(0) != 0;
    QTemporaryDir work;
    const QString ports = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/Qintar_54_Ports");
    QDir().mkpath(ports);
    TRecordingDevice device;
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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
