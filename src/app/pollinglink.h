#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

class TEngineTimer;
class TPortManagerRS232;
struct TReplyActions;

// What the status line says about the link: plain words for the operator, the technical detail
// ("R: No Reply", the serial layer's message) for its tooltip. Stale: the readouts do not show a
// fresh position and are greyed.
struct TLinkStatus
{
    QString Text;
    QString Detail;
    bool Stale = false;

    friend bool operator==(const TLinkStatus &, const TLinkStatus &) = default;
};

// The polling cycle's timing while "On Line" is down: one transaction in flight, the next poll 150 ms
// after a good reply. A failed poll (no reply, a reply that could not be read, a write error) is tried
// again every second (a poll a second after the one that failed, the reply timeout included); a port that
// cannot be opened (the device unplugged) is opened again every two seconds. The first good reply brings back
// the normal pace. Only going off line stops it.
//
// The timer is used one-shot: every end of a transaction, and every tick, leaves at most one tick
// pending, so a late reply or failure can never start a second cycle.
class TPollingLink
{
public:
    enum class TState
    {
        OffLine,
        Polling,
        // A poll failed; the next one goes 1 s later.
        Retrying,
        // The port cannot be opened; it is tried again every 2 s.
        Reopening,
        // Nothing will mend it without the operator (no port chosen, a port that refuses its
        // settings...): "On Line" must be pressed again.
        Stalled,
    };

    static constexpr int kPollDelay = 150;
    static constexpr int kRetryDelay = 1000;
    static constexpr int kReopenDelay = 2000;

    // nextCommand gives the command of each poll (NextCommand of the cycle).
    TPollingLink(TPortManagerRS232 &port, TEngineTimer &timer, std::function<QByteArray()> nextCommand);
    ~TPollingLink();
    TPollingLink(const TPollingLink &) = delete;
    TPollingLink &operator=(const TPollingLink &) = delete;

    // Told every change of the status line.
    void SetStatusHandler(std::function<void(const TLinkStatus &)> handler);
    // Told when a poll cannot be handed to the port (the port cannot be opened again): once when it
    // begins, not at every try after it. The window sounds "Chimes.wav".
    void SetHandOverAlert(std::function<void()> alert) { m_handOverAlert = std::move(alert); }

    TState State() const { return m_state; }
    bool OnLine() const { return m_state != TState::OffLine; }
    const TLinkStatus &Status() const { return m_status; }

    // "On Line" pressed down: opens the port and sends "BR00" at once. A port that does not exist is
    // waited for; any other error of opening is returned for the operator's error box, and the cycle
    // stalls until "On Line" is pressed again.
    std::optional<QString> GoOnLine();
    // "On Line" released: closes the port; nothing is sent any more, and a transaction still in flight
    // changes nothing when it ends.
    void GoOffLine();

    // USBSuccess has processed a reply (ignored off line).
    void ReplyTaken(const TReplyActions &actions, QByteArrayView reply);
    // The port manager gave a transaction up (ignored off line).
    void PollFailed(const QByteArray &failText);

    // Texts of the status line.
    static QString WaitingText();
    static QString OffLineText();

private:
    void Tick();
    void Send(const QByteArray &command);
    void Schedule(TState state, int delay);
    void SetStatus(const TLinkStatus &status);
    // The sticky notice of a lost point, and the retry text after it.
    TLinkStatus Healthy() const;

    TPortManagerRS232 &m_port;
    TEngineTimer &m_timer;
    std::function<QByteArray()> m_nextCommand;
    std::function<void(const TLinkStatus &)> m_statusHandler;
    std::function<void()> m_handOverAlert;
    TState m_state = TState::OffLine;
    TLinkStatus m_status;
    // A point the device signalled in a reply that could not be read; told until the next point is
    // recorded or the operator goes off line.
    bool m_lostPoint = false;
    // The hand-over alert has sounded since the last good reply.
    bool m_handOverAlerted = false;
};
