#pragma once

#include "app/measurementcycle.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;
class TOperatorDialogs;
class TPortManagerRS232;

// The window's link to the device: the port manager panel "USB" on the device's line, the poll timer
// tCommsDelay, "On Line", and what the window shows of the link (the logo's colour, the On Line
// heartbeat, the status line below the views and whether the readouts are fresh). Each reply the
// port manager completes goes to the window's USBSuccess; a failed transaction stalls the cycle here
// until the operator presses On Line again.
class TStationLink : public QObject
{
    Q_OBJECT

public:
    struct TControls
    {
        QPushButton *onLine;
        QFrame *logo;
        QLabel *status;
        std::array<QLabel *, 3> readouts;
    };

    // The panel is made a child of window, placed below its client area; onSuccess receives every
    // completed reply, and no failure is shown while shuttingDown says so.
    TStationLink(QWidget &window, TMeasurementCycle &cycle, TOperatorDialogs &dialogs,
                 std::function<void(TPortManagerRS232 &)> onSuccess, std::function<bool()> shuttingDown);

    // The window's controls, once its form is set up.
    void SetControls(const TControls &controls) { m_controls = controls; }

    TPortManagerRS232 &Port() { return *m_port; }
    QTimer *PollTimer() const { return m_pollTimer; }

    void sbOnLineClick();
    void SetLogoColour(TSignalColour colour);
    void SetHeartbeat(TSignalColour colour);
    // The status line below the views and the readouts: a failure shows its text and greys the
    // readouts until a fresh position arrives.
    void ShowLinkTrouble(const QString &text);
    void ShowLinkHealthy();
    void SetReadoutsFresh(bool fresh);

private:
    void SetUpPortManager(QWidget &window, std::function<void(TPortManagerRS232 &)> onSuccess);
    void tCommsDelayTimer();
    void USBFail(TPortManagerRS232 &sender);

    TMeasurementCycle &m_cycle;
    TOperatorDialogs &m_dialogs;
    std::function<bool()> m_shuttingDown;
    TPortManagerRS232 *m_port = nullptr;
    QTimer *m_pollTimer = nullptr;
    TControls m_controls{};
};
