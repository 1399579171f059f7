#pragma once

#include "app/calibrationpanel.h"
#include "app/measurementcycle.h"

#include <QObject>
#include <array>
#include <functional>

class QPushButton;
class QWidget;
class TToggleGroup;

// The maintenance area beyond the designed client area's right edge: the calibration behind its access
// code, "Calibrated" / "Use Raw Values" and the axis locks. A double click on the logo widens the
// window to show it and narrows it again; narrowing puts "Calibrated" down.
class TMaintenanceArea : public QObject
{
    Q_OBJECT

public:
    static constexpr int NarrowOuterWidth = 981;
    static constexpr int WideOuterWidth = 1225;

    struct TControls
    {
        TCalibrationPanel::TControls calibration;
        QPushButton *calibrated;
        QPushButton *rawValues;
        // X, Y, Z.
        std::array<QPushButton *, 3> locks;
    };
    // The area holds the window's direct children from x = left on. lockClicked hears which axis lock
    // was pressed; layOut lays the window out again when it is resized while hidden.
    TMaintenanceArea(const TControls &controls, int left, TCalibration &calibration, TSettingsFile &settings,
                     TOperatorDialogs &dialogs, QWidget &window,
                     std::function<void(TMeasurementCycle::TAxis)> lockClicked, std::function<void()> layOut);

    TCalibrationPanel &Panel() const { return *m_panel; }
    // The logo's double click: the area opens when it is out of sight, closes when it is in view.
    void OpenOrClose();

private:
    void SetOuterWidth(int outerWidth);

    QWidget &m_window;
    int m_left;
    QPushButton *m_calibrated;
    TCalibrationPanel *m_panel = nullptr;
    TToggleGroup *m_displayGroup = nullptr;
    TToggleGroup *m_axisGroup = nullptr;
    std::function<void()> m_layOut;
};
