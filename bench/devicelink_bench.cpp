// Received bytes through the port manager's data-available path: completed replies per second, and a
// flood without end sequence, which must cost time in proportion to its length.
#include "devicelink/enginetimer.h"
#include "devicelink/portmanagerrs232.h"
#include "devicelink/serialerror.h"
#include "devicelink/serialportaccess.h"

#include <benchmark/benchmark.h>

namespace {

class TIdleTimer : public TEngineTimer
{
public:
    void SetInterval(int) override {}
    void Start() override { m_active = true; }
    void Stop() override { m_active = false; }
    bool IsActive() const override { return m_active; }
    void SetTimeoutHandler(std::function<void()>) override {}

private:
    bool m_active = false;
};

// Hands out bytes as the serial layer does: one notification for at most a buffer's worth.
class TFeedPort : public TSerialPortAccess
{
public:
    void Feed(QByteArrayView bytes)
    {
        for (qsizetype at = 0; at < bytes.size(); at += BufferSize) {
            m_bytes = bytes.sliced(at, std::min<qsizetype>(BufferSize, bytes.size() - at));
            m_position = 0;
            m_handler(int(m_bytes.size()));
        }
    }

    void SetPortNumber(quint16) override {}
    void SetBaudRate(quint16) override {}
    void SetParity(TParity) override {}
    void SetDataBits(quint16) override {}
    void SetStopBits(quint16) override {}
    void OpenPort(bool open) override { m_open = open; }
    bool IsOpen() const override { return m_open; }
    int OutputFree() const override { return BufferSize; }
    bool DsrOn() const override { return m_open; }
    void WriteText(QByteArrayView) override {}
    char ReadChar() override
    {
        if (m_position >= m_bytes.size())
            throw TSerialError(TSerialError::TKind::Other, QStringLiteral("nothing waiting"));
        return m_bytes[m_position++];
    }
    void SetDataAvailableHandler(std::function<void(int)> handler) override
    {
        m_handler = std::move(handler);
    }

private:
    std::function<void(int)> m_handler;
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
    bool m_open = true;
};

struct TBench
{
    TFeedPort *port = nullptr;
    std::unique_ptr<TPortManagerRS232> engine;
    qint64 replies = 0;

    TBench()
    {
        auto feed = std::make_unique<TFeedPort>();
        port = feed.get();
        engine = std::make_unique<TPortManagerRS232>(std::move(feed), std::make_unique<TIdleTimer>(),
                                                     std::make_unique<TIdleTimer>());
        engine->SetOnSuccess([this](TPortManagerRS232 &) { ++replies; });
    }
};

void BM_PositionReplies(benchmark::State &state)
{
    TBench bench;
    const QByteArray reply = "BR 000012-000003 0004561\r";
    QByteArray stream;
    while (stream.size() < 256 * 1024)
        stream += reply;
    for (auto _ : state)
        bench.port->Feed(stream);
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["replies/s"] = benchmark::Counter(double(bench.replies), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PositionReplies)->Unit(benchmark::kMillisecond);

void BM_NoEndSequence(benchmark::State &state)
{
    TBench bench;
    const QByteArray flood(state.range(0), 'A');
    for (auto _ : state)
        bench.port->Feed(flood);
    if (bench.replies != 0)
        state.SkipWithError("a flood without end sequence completed a reply");
    state.SetBytesProcessed(state.iterations() * flood.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NoEndSequence)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
