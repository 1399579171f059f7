#include "app/measurementcycle.h"

#include "app/devicereply.h"
#include "common/coordinatetext.h"

#include <cmath>
#include <cstring>

namespace {

// Position 24 of a position reply, 0-based.
constexpr qsizetype kStatusPosition = 23;
// Every letter the device answers with.
constexpr const char *kReplyLetters = "RJKLMZUS";

} // namespace

void TMeasurementCycle::AcknowledgeReply(bool condition, char replyLetter, char expected)
{
    if (condition && replyLetter == expected)
        m_nextCommand = kReadPosition;
}

void TMeasurementCycle::LockClicked(TAxis axis, const TCycleState &toggles)
{
    const bool ownDown = axis == TAxis::X ? toggles.LockX : axis == TAxis::Y ? toggles.LockY : toggles.LockZ;
    if (ownDown)
        m_nextCommand = axis == TAxis::X ? "BJ00" : axis == TAxis::Y ? "BK00" : "BL00";
    else if (!toggles.LockX && !toggles.LockY && !toggles.LockZ)
        m_nextCommand = "BM00";
}

void TMeasurementCycle::ZeroClicked()
{
    m_nextCommand = "BZ00";
}

void TMeasurementCycle::JoystickClicked(bool coarseDown)
{
    m_nextCommand = coarseDown ? "BU10" : "BU50";
}

bool TMeasurementCycle::GoToClicked(const QString &x, const QString &y, const QString &z)
{
    const auto tx = ReadDecimal(x);
    const auto ty = ReadDecimal(y);
    const auto tz = ReadDecimal(z);
    if (!tx || !ty || !tz)
        return false;
    QByteArray command = BuildGoToCommand(*tx, *ty, *tz);
    if (command.isEmpty())
        return false;
    m_nextCommand = std::move(command);
    return true;
}

TReplyActions TMeasurementCycle::ProcessReply(QByteArrayView reply, const TCycleState &toggles,
                                              const TCalibration &calibration)
{
    TReplyActions actions;
    if (toggles.ShuttingDown)
        return actions;
    actions.Handled = true;
    actions.Logo = toggles.Calibrated ? TSignalColour::Green : TSignalColour::Red;

    const char letter = ReplyLetter(reply);
    const bool anyLock = toggles.LockX || toggles.LockY || toggles.LockZ;
    if (toggles.MeasurePoint || anyLock) {
        const auto decoded = DecodePositionReply(reply);
        if (decoded) {
            TPoint3 p = StationMillimetres(*decoded);
            if (toggles.Calibrated)
                CalibrateXYZ(p.x, p.y, p.z, calibration);
            // A scale factor can carry a large reading beyond the float range; such a reading is not
            // shown, plotted or recorded.
            if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
                actions.Position = p;
                actions.Readouts = {FormatCoordinate(p.x), FormatCoordinate(p.y), FormatCoordinate(p.z)};
                const char status = decoded->Status;
                actions.Chime = status == '3' || status == '4' || status == '6';
                actions.Record = status == '1';
            }
        }
        if (letter == 'R' && !actions.Position) {
            actions.Unreadable = true;
            actions.LostPoint = reply.size() > kStatusPosition && reply[kStatusPosition] == '1';
            actions.Chime = actions.LostPoint;
        }
    } else if (const auto decoded = DecodePositionReply(reply)) {
        actions.IgnoredPoint = decoded->Status == '1';
    }
    if (!std::strchr(kReplyLetters, letter) || letter == '\0')
        actions.Unreadable = true;

    AcknowledgeReply(toggles.LockX, letter, 'J');
    AcknowledgeReply(toggles.LockY, letter, 'K');
    AcknowledgeReply(toggles.LockZ, letter, 'L');
    AcknowledgeReply(!anyLock, letter, 'M');
    const bool lockAcknowledged = (toggles.LockX && letter == 'J') || (toggles.LockY && letter == 'K') ||
                                  (toggles.LockZ && letter == 'L') || (!anyLock && letter == 'M');
    const bool beeping = (toggles.MeasurePoint && (letter == 'Z' || letter == 'U')) ||
                         (!toggles.MeasurePoint && letter == 'S');
    if (beeping) {
        m_nextCommand = kReadPosition;
        actions.Beep = true;
    }
    actions.Acknowledged = lockAcknowledged || beeping;

    m_heartbeat = m_heartbeat == TSignalColour::Navy ? TSignalColour::Red : TSignalColour::Navy;
    actions.Heartbeat = m_heartbeat;
    actions.StartPoll = toggles.OnLine;
    return actions;
}
