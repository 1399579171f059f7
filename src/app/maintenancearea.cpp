#include "app/maintenancearea.h"

#include "app/desklook.h"
#include "app/togglegroup.h"

#include <QPushButton>
#include <QScreen>
#include <QWidget>

TMaintenanceArea::TMaintenanceArea(const TControls &controls, int left, TCalibration &calibration,
                                   TSettingsFile &settings, TOperatorDialogs &dialogs, QWidget &window,
                                   std::function<void(TMeasurementCycle::TAxis)> lockClicked,
                                   std::function<void()> layOut)
    : QObject(&window), m_window(window), m_left(left), m_calibrated(controls.calibrated),
      m_layOut(std::move(layOut))
{
    m_panel = new TCalibrationPanel(controls.calibration, calibration, settings, dialogs, &window);

    m_displayGroup = new TToggleGroup(this);
    m_displayGroup->Add(controls.calibrated);
    m_displayGroup->Add(controls.rawValues);

    m_axisGroup = new TToggleGroup(this);
    for (QPushButton *button : controls.locks)
        m_axisGroup->Add(button);
    connect(m_axisGroup, &TToggleGroup::Clicked, this,
            [locks = controls.locks, lockClicked = std::move(lockClicked)](QAbstractButton *button) {
                using TAxis = TMeasurementCycle::TAxis;
                lockClicked(button == locks[0] ? TAxis::X : button == locks[1] ? TAxis::Y : TAxis::Z);
            });
}

void TMaintenanceArea::OpenOrClose()
{
    const bool narrowing = m_window.frameGeometry().width() > 1000;
    // The narrow width leaves a few pixels beyond the designed client area in view, enough for the
    // maintenance group's left edge to stand there as a line: the area goes out of sight with it.
    for (QWidget *child : m_window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (child->x() >= m_left)
            child->setVisible(!narrowing);
    if (narrowing) {
        SetOuterWidth(NarrowOuterWidth);
        m_displayGroup->SetDown(m_calibrated);
    } else {
        SetOuterWidth(WideOuterWidth);
    }
}

void TMaintenanceArea::SetOuterWidth(int outerWidth)
{
    const int frame = m_window.frameGeometry().width() - m_window.width();
    m_window.setFixedSize(outerWidth - frame, m_window.height());
    if (m_window.isVisible() && m_window.screen()) {
        const QRect outer = m_window.frameGeometry();
        m_window.move(
            TDeskLook::LeftKeepingOnScreen(outer.x(), outerWidth, m_window.screen()->availableGeometry()),
            outer.y());
    }
    // A hidden window gets its resize event only when shown; lay out now all the same.
    if (!m_window.isVisible())
        m_layOut();
}
