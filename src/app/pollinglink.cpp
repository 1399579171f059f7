#include "app/pollinglink.h"

#include "app/measurementcycle.h"
#include "devicelink/enginetimer.h"
#include "devicelink/portmanagerrs232.h"

#include <algorithm>
#include <utility>

namespace {

const char *const kEverySecond = " - trying again every second";

// The reply as the tooltip shows it: printable ASCII as it is, anything else as \xNN.
QString ReplyDetail(QByteArrayView reply)
{
    QString shown;
    for (const char c : reply) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            shown += QLatin1Char(c);
        else
            shown += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return QStringLiteral("R: Unreadable reply \"%1\"").arg(shown);
}

QString LostPointText()
{
    return QStringLiteral("A point the device signalled could not be read and was not recorded");
}

} // namespace

TPollingLink::TPollingLink(TPortManagerRS232 &port, TEngineTimer &timer,
                           std::function<QByteArray()> nextCommand)
    : m_port(port), m_timer(timer), m_nextCommand(std::move(nextCommand))
{
    m_timer.Stop();
    m_timer.SetTimeoutHandler([this] { Tick(); });
}

TPollingLink::~TPollingLink()
{
    m_timer.Stop();
    m_timer.SetTimeoutHandler({});
}

void TPollingLink::SetStatusHandler(std::function<void(const TLinkStatus &)> handler)
{
    m_statusHandler = std::move(handler);
}

QString TPollingLink::WaitingText()
{
    return QStringLiteral("Waiting for the device...");
}

QString TPollingLink::OffLineText()
{
    return QStringLiteral("Off line");
}

std::optional<QString> TPollingLink::GoOnLine()
{
    m_timer.Stop();
    m_lostPoint = false;
    m_handOverAlerted = false;
    try {
        m_port.SetPortOpen(true);
    } catch (const TSerialError &error) {
        if (error.Kind() == TSerialError::TKind::PortDoesNotExist) {
            Schedule(TState::Reopening, kReopenDelay);
            SetStatus({QStringLiteral("The device is not connected - trying again every 2 seconds"),
                       error.Message(), true});
            return std::nullopt;
        }
        m_state = TState::Stalled;
        SetStatus({QStringLiteral("The port cannot be opened - press On Line again"), error.Message(), true});
        return error.Message();
    }
    m_state = TState::Polling;
    SetStatus({WaitingText(), {}, true});
    // The literal, not NextCommand: a queued command waits for the first position.
    Send(TMeasurementCycle::kReadPosition);
    return std::nullopt;
}

void TPollingLink::GoOffLine()
{
    m_timer.Stop();
    m_state = TState::OffLine;
    m_lostPoint = false;
    m_port.SetPortOpen(false);
    SetStatus({OffLineText(), {}, true});
}

void TPollingLink::ReplyTaken(const TReplyActions &actions, QByteArrayView reply)
{
    if (!OnLine())
        return;
    if (actions.Record && actions.Position)
        m_lostPoint = false;
    if (actions.LostPoint)
        m_lostPoint = true;
    if (actions.Unreadable) {
        Schedule(TState::Retrying, kRetryDelay);
        const QString text =
            m_lostPoint ? LostPointText() : QStringLiteral("A reply from the device could not be read");
        SetStatus({text + QLatin1String(kEverySecond), ReplyDetail(reply), true});
        return;
    }
    m_handOverAlerted = false;
    Schedule(TState::Polling, kPollDelay);
    SetStatus(Healthy());
}

void TPollingLink::PollFailed(const QByteArray &failText)
{
    if (m_state == TState::OffLine || m_state == TState::Stalled)
        return;
    const QString detail = QString::fromLatin1(failText);
    // A reply timeout has already waited since the poll went out: the next try follows a second after
    // that poll, so a device that answers again is polled within a second.
    const bool timedOut = failText.startsWith("R:");
    Schedule(TState::Retrying, timedOut ? std::max(1, kRetryDelay - int(m_port.RTimeout())) : kRetryDelay);
    const QString text = failText.startsWith("T:") ? QStringLiteral("Cannot send to the device")
                                                   : QStringLiteral("No reply from the device");
    SetStatus({text + QLatin1String(kEverySecond), detail, true});
}

void TPollingLink::Tick()
{
    m_timer.Stop();
    if (m_state == TState::OffLine || m_state == TState::Stalled)
        return;
    // A transaction still in flight ends in a reply or a failure, and that schedules the next tick.
    if (m_port.Busy())
        return;
    Send(m_nextCommand());
}

void TPollingLink::Send(const QByteArray &command)
{
    try {
        m_port.SetCommand(command);
    } catch (const TSerialError &error) {
        if (!std::exchange(m_handOverAlerted, true) && m_handOverAlert)
            m_handOverAlert();
        if (error.Kind() == TSerialError::TKind::NoPortSelected) {
            m_state = TState::Stalled;
            SetStatus(
                {QStringLiteral("The port cannot be opened - press On Line again"), error.Message(), true});
            return;
        }
        // An error of opening leaves the port manager Ready; one of writing leaves its transaction to
        // end by its reply timeout, which is then retried as any other failed poll.
        if (!m_port.Busy()) {
            Schedule(TState::Reopening, kReopenDelay);
            SetStatus({QStringLiteral("The device is not connected - trying again every 2 seconds"),
                       error.Message(), true});
            return;
        }
        Schedule(TState::Retrying, kRetryDelay);
        SetStatus({QStringLiteral("Cannot send to the device") + QLatin1String(kEverySecond), error.Message(),
                   true});
    }
}

void TPollingLink::Schedule(TState state, int delay)
{
    m_state = state;
    m_timer.Stop();
    m_timer.SetInterval(delay);
    m_timer.Start();
}

void TPollingLink::SetStatus(const TLinkStatus &status)
{
    if (status == m_status)
        return;
    m_status = status;
    if (m_statusHandler)
        m_statusHandler(m_status);
}

TLinkStatus TPollingLink::Healthy() const
{
    if (m_lostPoint)
        return {LostPointText() + QStringLiteral(" - record it again"), {}, false};
    return {};
}
