#pragma once

#include "common/calibration.h"
#include "common/stationtypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

// The toggles of the window as they stand when a reply or a click is handled.
struct TCycleState
{
    bool ShuttingDown = false;
    bool OnLine = false;
    bool Calibrated = true;
    bool MeasurePoint = true;
    bool LockX = false;
    bool LockY = false;
    bool LockZ = false;
};

// The colours the cycle shows: the logo panel (green calibrated, red raw) and the "On Line" caption,
// whose colour flips at every reply as a heartbeat.
enum class TSignalColour
{
    Green,
    Red,
    Navy,
};

// 0xRRGGBB of a signal colour: green 0, 128, 0; red 255, 0, 0; navy 0, 0, 128.
constexpr unsigned RgbOf(TSignalColour colour)
{
    switch (colour) {
    case TSignalColour::Green:
        return 0x008000;
    case TSignalColour::Red:
        return 0xFF0000;
    case TSignalColour::Navy:
        return 0x000080;
    }
    return 0;
}

// What one reply asks of the window, to be done in the order of the members: the logo colour; for a
// position, the live markers of the views whose buttons are down and the three readouts; the chime
// ("chimes.wav", played to the end); the recording of the point (project name, recorded-point series,
// point table); the acknowledgment beep (not waited for); the heartbeat colour; the next poll.
struct TReplyActions
{
    // False while shutting down: the window does nothing at all with the reply.
    bool Handled = false;
    TSignalColour Logo = TSignalColour::Red;
    // The reading in millimetres, calibrated when "Calibrated" is down; none when the reply is not a
    // position or does not count as one.
    std::optional<TPoint3> Position;
    // FormatCoordinate texts of the position for stReadX, stReadY, stReadZ.
    std::array<QString, 3> Readouts;
    // The chime: status "3", "4" or "6", or a signalled point that could not be read.
    bool Chime = false;
    bool Record = false;
    // A reply that could not be read: a position reply whose fields are no readable position, or a
    // reply without any letter the device answers with. The readouts are no longer fresh.
    bool Unreadable = false;
    // The unreadable position reply signalled a point (status "1"): it is lost, and the operator must
    // be told.
    bool LostPoint = false;
    // The device signalled a point while "Measure Point" is up: not recorded, as designed, but the
    // operator is told.
    bool IgnoredPoint = false;
    // The reply acknowledged the pending command (NextCommand is "BR00" again).
    bool Acknowledged = false;
    bool Beep = false;
    TSignalColour Heartbeat = TSignalColour::Navy;
    // Start tCommsDelay ("On Line" is down).
    bool StartPoll = false;
};

// The polling cycle without its timer and port: which command the next poll sends, the command
// buttons that queue another one, and what each reply means. One transaction is in flight at a time;
// a queued command goes out at every poll until the device's reply acknowledges it.
class TMeasurementCycle
{
public:
    enum class TAxis
    {
        X,
        Y,
        Z,
    };

    static constexpr const char *kReadPosition = "BR00";

    const QByteArray &NextCommand() const { return m_nextCommand; }

    // Back to "BR00" when the condition holds and the reply letter is the expected one (exact case).
    void AcknowledgeReply(bool condition, char replyLetter, char expected);

    // "X only", "Y only" or "Z only" was toggled; toggles hold the three buttons as they are now.
    // Its own button down queues BJ00/BK00/BL00, none of the three down queues BM00.
    void LockClicked(TAxis axis, const TCycleState &toggles);
    void ZeroClicked();
    // "Coarse" or "Fine" was toggled: BU10 with "Coarse" down, BU50 otherwise.
    void JoystickClicked(bool coarseDown);
    // Queues the go-to command for the three target texts; false, with nothing queued, when a text is
    // not a decimal number or a target is beyond the command's range.
    bool GoToClicked(const QString &x, const QString &y, const QString &z);

    // USBSuccess's decisions for one reply; acknowledgments take effect on NextCommand here.
    TReplyActions ProcessReply(QByteArrayView reply, const TCycleState &toggles,
                               const TCalibration &calibration);

private:
    QByteArray m_nextCommand = kReadPosition;
    TSignalColour m_heartbeat = TSignalColour::Red;
};
