#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QSocketNotifier;

// A device that a benchmark plays on a pseudo-terminal linked as link (the station's COM port): every
// command (a line closed by CR) is answered at once with the reply that replyFor makes of the command's
// number, counted from 1.
class TBenchDevice : public QObject
{
public:
    using TReplyFor = std::function<QByteArray(int step)>;

    explicit TBenchDevice(TReplyFor replyFor) : m_replyFor(std::move(replyFor)) {}
    ~TBenchDevice() override;

    bool Open(const QString &link);

    // When each command arrived and the last reply was written, on Clock.
    std::vector<qint64> CommandTimes;
    qint64 LastReplyWritten = 0;
    // Heard after each reply.
    std::function<void()> OnCommand;
    const QElapsedTimer &Clock() const { return m_clock; }

private:
    void Read();

    TReplyFor m_replyFor;
    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_step = 0;
    QElapsedTimer m_clock;
};
