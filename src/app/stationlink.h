#pragma once

#include "app/escapederrors.h"
#include "app/measurementcycle.h"
#include "app/pollinglink.h"

#include <QObject>
#include <QPalette>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;
class TOperatorDialogs;
class TPortManagerPanel;
class TPortManagerRS232;
class TQtEngineTimer;
class TStatusLine;

// The window's link to the device: the port manager panel "USB" on the device's line, the poll timer
// tCommsDelay, "On Line", and what the window shows of the link (the logo's colour, the On Line
// heartbeat, the status line below the views and whether the readouts are fresh). Each reply the
// port manager completes goes to the window's USBSuccess, which hands it back through ReplyTaken;
// TPollingLink decides the pace, the retries after a failure and the reopening of a vanished port.
// Errors that escape a notification or a tick of the link reach the operator once per distinct text.
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
    ~TStationLink() override;

    // The window's controls, once its form is set up.
    void SetControls(const TControls &controls) { m_controls = controls; }
    // Where the link's state is told: the window's status line over the status control.
    void SetStatusLine(TStatusLine *statusLine) { m_statusLine = statusLine; }

    TPortManagerRS232 &Port() { return *m_port; }
    QTimer *PollTimer() const { return m_pollTimer; }
    TPortManagerPanel *Panel() const { return m_panel; }

    void sbOnLineClick();
    // USBSuccess has processed a reply: the next poll is scheduled, or a retry.
    void ReplyTaken(const TReplyActions &actions, QByteArrayView reply);
    // The logo's colour after a reply: green for calibrated readings, red for raw ones. Its tooltip
    // always says what the colour stands for; a link without fresh readings turns it red as well.
    void SetLogoColour(TSignalColour colour);
    static QString LogoTip(TSignalColour colour, bool fresh);
    void SetHeartbeat(TSignalColour colour);
    // The status line below the views in plain words, the technical detail as its tooltip; a stale
    // link greys the readouts until a fresh position arrives.
    void ShowLinkStatus(const TLinkStatus &status);
    void SetReadoutsFresh(bool fresh);

Q_SIGNALS:
    // The link's state as ShowLinkStatus has just shown it.
    void StatusShown(const TLinkStatus &status);

private:
    void SetUpPortManager(QWidget &window, std::function<void(TPortManagerRS232 &)> onSuccess);
    void USBFail(TPortManagerRS232 &sender);
    void ShowLogo(TSignalColour colour, bool fresh);

    TMeasurementCycle &m_cycle;
    TOperatorDialogs &m_dialogs;
    std::function<bool()> m_shuttingDown;
    TPortManagerPanel *m_panel = nullptr;
    TStatusLine *m_statusLine = nullptr;
    TPortManagerRS232 *m_port = nullptr;
    QTimer *m_pollTimer = nullptr;
    TEscapedErrors m_escapedErrors;
    // The polling pace on tCommsDelay.
    std::unique_ptr<TQtEngineTimer> m_pollEngine;
    std::unique_ptr<TPollingLink> m_polling;
    TControls m_controls{};
    // The heartbeat's palettes, one a colour, made at the first flip to each.
    std::vector<QPalette> m_heartbeatPalettes;
};
