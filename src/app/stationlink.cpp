#include "app/stationlink.h"

#include "app/stationcolours.h"
#include "common/operatordialogs.h"
#include "devicelink/portmanagerpanel.h"
#include "devicelink/portmanagerrs232.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace StationColours;

TStationLink::TStationLink(QWidget &window, TMeasurementCycle &cycle, TOperatorDialogs &dialogs,
                           std::function<void(TPortManagerRS232 &)> onSuccess,
                           std::function<bool()> shuttingDown)
    : QObject(&window), m_cycle(cycle), m_dialogs(dialogs), m_shuttingDown(std::move(shuttingDown))
{
    m_pollTimer = new QTimer(&window);
    m_pollTimer->setObjectName(QStringLiteral("tCommsDelay"));
    m_pollTimer->setInterval(150);
    m_pollTimer->setSingleShot(true);
    // Qt's default coarse timer may drift by 5 %, which would stretch every poll.
    m_pollTimer->setTimerType(Qt::PreciseTimer);
    SetUpPortManager(window, std::move(onSuccess));
}

void TStationLink::SetUpPortManager(QWidget &window, std::function<void(TPortManagerRS232 &)> onSuccess)
{
    auto *panel = new TPortManagerPanel(&window);
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
    m_port->SetErrorReport([this](const TSerialError &error) {
        ShowLinkTrouble(tr("The port cannot be opened - press On Line again (%1)").arg(error.Message()));
    });
    connect(m_pollTimer, &QTimer::timeout, this, &TStationLink::tCommsDelayTimer);
}

void TStationLink::sbOnLineClick()
{
    try {
        if (m_controls.onLine->isChecked()) {
            m_port->SetPortOpen(true);
            m_port->SetCommand(TMeasurementCycle::kReadPosition);
            ShowLinkTrouble(tr("Waiting for the device..."));
        } else {
            m_port->SetPortOpen(false);
            ShowLinkTrouble(tr("Off line"));
        }
    } catch (const TSerialError &error) {
        ShowLinkTrouble(tr("The port cannot be opened - press On Line again (%1)").arg(error.Message()));
        m_dialogs.ShowError(error.Message());
    }
}

void TStationLink::tCommsDelayTimer()
{
    m_pollTimer->stop();
    try {
        m_port->SetCommand(m_cycle.NextCommand());
    } catch (const TSerialError &error) {
        // The cycle stalls here until the operator goes off line and on line again.
        ShowLinkTrouble(tr("Cannot send to the device - press On Line again (%1)").arg(error.Message()));
        m_dialogs.PlaySound(QStringLiteral("Chimes.wav"));
    }
}

void TStationLink::USBFail(TPortManagerRS232 &sender)
{
    if (m_shuttingDown())
        return;
    QString detail = QString::fromLatin1(sender.FailText());
    if (detail.isEmpty())
        detail = QString::fromLatin1(sender.ErrorText());
    ShowLinkTrouble(tr("No reply from the device - press On Line again (%1)").arg(detail));
}

void TStationLink::SetLogoColour(TSignalColour colour)
{
    const QColor wanted = QColor::fromRgb(RgbOf(colour));
    if (m_controls.logo->palette().color(QPalette::Window) != wanted)
        SetBackground(m_controls.logo, wanted);
}

void TStationLink::SetHeartbeat(TSignalColour colour)
{
    SetColour(m_controls.onLine, QPalette::ButtonText, QColor::fromRgb(RgbOf(colour)));
}

void TStationLink::ShowLinkTrouble(const QString &text)
{
    m_controls.status->setText(text);
    SetColour(m_controls.status, QPalette::WindowText, Red);
    SetReadoutsFresh(false);
}

void TStationLink::ShowLinkHealthy()
{
    m_controls.status->clear();
}

void TStationLink::SetReadoutsFresh(bool fresh)
{
    for (QLabel *readout : m_controls.readouts)
        SetColour(readout, QPalette::WindowText, fresh ? DarkBlue : StaleGrey);
}
