#include "app/largereadoutlink.h"

#include "app/largereadoutform.h"
#include "app/pollinglink.h"
#include "app/settingsfile.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

TLargeReadoutLink::TLargeReadoutLink(QWidget &window, const std::array<QLabel *, 3> &readouts,
                                     std::function<int()> pointCount, const QString &settingsFile)
    : QObject(&window), m_window(window), m_readouts(readouts), m_pointCount(std::move(pointCount)),
      m_linkText(TPollingLink::OffLineText())
{
    m_form = new TLargeReadoutForm(settingsFile, &window);
    m_button = new QPushButton(tr("Large readout"), &window);
    m_button->setObjectName(QStringLiteral("btnLargeReadout"));
    m_button->setGeometry(512, 107, 100, 21);
    m_button->setToolTip(tr("X, Y and Z in a window of their own, large enough to read from the machine"));
    connect(m_button, &QPushButton::clicked, this, &TLargeReadoutLink::Open);
    for (QLabel *readout : m_readouts) {
        readout->installEventFilter(this);
        readout->setToolTip(readout->toolTip().isEmpty()
                                ? tr("Double-click for the large readout")
                                : readout->toolTip() + tr("\nDouble-click for the large readout"));
    }
}

QString TLargeReadoutLink::DefaultSettingsFile()
{
    const QString station = TSettingsFile::DefaultPath();
    if (station.isEmpty())
        return {};
    return QFileInfo(station).dir().filePath(QStringLiteral("QintarSoft_LargeReadout.ini"));
}

void TLargeReadoutLink::OpenOn(QAction *action)
{
    connect(action, &QAction::triggered, this, &TLargeReadoutLink::Open);
}

bool TLargeReadoutLink::IsOpen() const
{
    return m_form && m_form->isVisible();
}

void TLargeReadoutLink::Open()
{
    if (!m_form)
        return;
    m_form->SetLinkState(m_linkText, m_linkTrouble);
    m_form->SetFresh(m_fresh);
    m_form->SetFeatureInProgress(m_feature);
    m_form->Open();
    PositionShown();
    PointsChanged();
}

void TLargeReadoutLink::PositionShown()
{
    if (IsOpen())
        m_form->ShowPosition(m_readouts[0]->text(), m_readouts[1]->text(), m_readouts[2]->text());
}

void TLargeReadoutLink::LinkStatusShown(const TLinkStatus &status)
{
    // A healthy link says nothing in the status line; here it says so.
    m_linkText = status.Text.isEmpty() ? tr("On line") : status.Text;
    m_linkTrouble = !status.Text.isEmpty() && status.Text != TPollingLink::OffLineText();
    m_fresh = !status.Stale;
    if (IsOpen()) {
        m_form->SetLinkState(m_linkText, m_linkTrouble);
        m_form->SetFresh(m_fresh);
    }
}

void TLargeReadoutLink::PointsChanged()
{
    if (IsOpen() && m_pointCount)
        m_form->SetLastPoint(m_pointCount());
}

void TLargeReadoutLink::SetFeatureInProgress(const QString &text)
{
    m_feature = text;
    if (IsOpen())
        m_form->SetFeatureInProgress(text);
}

bool TLargeReadoutLink::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        std::find(m_readouts.begin(), m_readouts.end(), watched) != m_readouts.end()) {
        Open();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
