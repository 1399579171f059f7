#include "app/stationlink.h"

#include "app/stationcolours.h"
#include "app/statusline.h"
#include "common/operatordialogs.h"
#include "devicelink/portmanagerpanel.h"
#include "devicelink/portmanagerrs232.h"
#include "devicelink/qtenginetimer.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

using namespace StationColours;

TStationLink::TStationLink(QWidget &window, TMeasurementCycle &cycle, TOperatorDialogs &dialogs,
                           std::function<void(TPortManagerRS232 &)> onSuccess,
                           std::function<bool()> shuttingDown)
    : QObject(&window), m_cycle(cycle), m_dialogs(dialogs), m_shuttingDown(std::move(shuttingDown)),
      m_escapedErrors(dialogs)
{
    m_pollTimer = new QTimer(&window);
    m_pollTimer->setObjectName(QStringLiteral("tCommsDelay"));
    m_pollTimer->setInterval(150);
    m_pollTimer->setSingleShot(true);
    // Qt's default coarse timer may drift by 5 %, which would stretch every poll.
    m_pollTimer->setTimerType(Qt::PreciseTimer);
    SetUpPortManager(window, std::move(onSuccess));
    const auto escaped = [this](const QString &message) { m_escapedErrors.Report(message); };
    m_panel->SetEscapedErrorReport(escaped);
    m_pollEngine = std::make_unique<TQtEngineTimer>(*m_pollTimer);
    m_pollEngine->SetErrorReport(escaped);
    m_polling =
        std::make_unique<TPollingLink>(*m_port, *m_pollEngine, [this] { return m_cycle.NextCommand(); });
    m_polling->SetStatusHandler([this](const TLinkStatus &status) { ShowLinkStatus(status); });
    m_polling->SetHandOverAlert([this] { m_dialogs.PlaySound(QStringLiteral("Chimes.wav")); });
}

TStationLink::~TStationLink()
{
    // The panel and the timer outlive this object; nothing of theirs may reach it now.
    m_port->SetOnFail({});
    m_panel->SetEscapedErrorReport({});
    m_polling.reset();
    m_pollEngine.reset();
}

void TStationLink::SetUpPortManager(QWidget &window, std::function<void(TPortManagerRS232 &)> onSuccess)
{
    auto *panel = new TPortManagerPanel(&window);
    m_panel = panel;
    panel->setObjectName(QStringLiteral("USB"));
    // Below the client area: the window shows the link's state in its own status line instead.
    panel->setGeometry(8, 2000, 220, 180);
    panel->SetErrorReport([this](const QString &message) { m_dialogs.ShowError(message); });
    m_port = &panel->Engine();
    // The device's line: 19200 baud 8N1, one attempt each way, a second to answer.
    m_port->SetPortNumber(5);
    m_port->SetBaudRate(19200);
    m_port->SetParity(pNone);
    m_port->SetDataBits(8);
    m_port->SetStopBits(1);
    m_port->SetTTimeout(1000);
    m_port->SetRTimeout(1000);
    m_port->SetMaxTransmitAttempts(1);
    m_port->SetMaxReceiveAttempts(1);
    m_port->SetUseDSR(false);
    m_port->SetTransmitEndSequence(QByteArray(1, '\r'));
    m_port->SetReceiveEndSequence(QByteArray(1, '\r'));
    m_port->SetNumberOfReceiveEndSequences(1);
    m_port->SetOnSuccess(std::move(onSuccess));
    m_port->SetOnFail([this](TPortManagerRS232 &sender) { USBFail(sender); });
}

void TStationLink::sbOnLineClick()
{
    if (!m_controls.onLine->isChecked()) {
        m_statusLine->SetPortInUse({});
        m_polling->GoOffLine();
        return;
    }
    // The last event's words give way to the link's from now on.
    m_statusLine->ShowMessage({});
    const auto error = m_polling->GoOnLine();
    m_statusLine->SetPortInUse(m_panel->PortInUse());
    if (error)
        m_dialogs.ShowError(*error);
}

void TStationLink::ReplyTaken(const TReplyActions &actions, QByteArrayView reply)
{
    m_polling->ReplyTaken(actions, reply);
}

void TStationLink::USBFail(TPortManagerRS232 &sender)
{
    if (m_shuttingDown())
        return;
    m_polling->PollFailed(sender.FailText().isEmpty() ? sender.ErrorText() : sender.FailText());
}

QString TStationLink::LogoTip(TSignalColour colour, bool fresh)
{
    if (!fresh)
        return QStringLiteral("Red: no readings from the device (off line or not answering)");
    return colour == TSignalColour::Green ? QStringLiteral("Green: calibrated readings")
                                          : QStringLiteral("Red: raw readings, not calibrated");
}

void TStationLink::SetLogoColour(TSignalColour colour)
{
    ShowLogo(colour, true);
}

void TStationLink::ShowLogo(TSignalColour colour, bool fresh)
{
    if (!m_controls.logo)
        return;
    const QColor wanted = QColor::fromRgb(RgbOf(fresh ? colour : TSignalColour::Red));
    if (m_controls.logo->palette().color(QPalette::Window) != wanted)
        SetBackground(m_controls.logo, wanted);
    // The picture covers the panel, so the tip is the picture's as well.
    const QString tip = LogoTip(colour, fresh);
    if (m_controls.logo->toolTip() != tip) {
        m_controls.logo->setToolTip(tip);
        for (QLabel *picture : m_controls.logo->findChildren<QLabel *>())
            picture->setToolTip(tip);
    }
}

void TStationLink::SetHeartbeat(TSignalColour colour)
{
    // The button flips at every reply. Its two palettes are made once and then only swapped: the
    // style caches a button's look by its palette, so a palette made anew each time is drawn anew.
    QPushButton *button = m_controls.onLine;
    const QColor wanted = QColor::fromRgb(RgbOf(colour));
    if (button->palette().color(QPalette::ButtonText) == wanted)
        return;
    auto found = std::find_if(m_heartbeatPalettes.begin(), m_heartbeatPalettes.end(),
                              [&](const QPalette &p) { return p.color(QPalette::ButtonText) == wanted; });
    if (found == m_heartbeatPalettes.end()) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, wanted);
        m_heartbeatPalettes.push_back(palette);
        found = m_heartbeatPalettes.end() - 1;
    }
    button->setPalette(*found);
}

void TStationLink::ShowLinkStatus(const TLinkStatus &status)
{
    // Off line is no trouble: it reads as the last event, which the operator's next pick replaces.
    if (status.Text.isEmpty() || status.Text == TPollingLink::OffLineText()) {
        m_statusLine->ClearTrouble();
        if (!status.Text.isEmpty())
            m_statusLine->ShowMessage(status.Text, status.Detail);
    } else {
        m_statusLine->ShowTrouble(status.Text, status.Detail);
    }
    SetReadoutsFresh(!status.Stale);
    if (status.Stale)
        ShowLogo(TSignalColour::Red, false);
    Q_EMIT StatusShown(status);
}

void TStationLink::SetReadoutsFresh(bool fresh)
{
    for (QLabel *readout : m_controls.readouts)
        SetColour(readout, QPalette::WindowText, fresh ? DarkBlue : StaleGrey);
}
