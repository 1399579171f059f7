#pragma once

#include "app/calibrationpanellogic.h"

#include <QObject>
#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TOperatorDialogs;
class TSettingsFile;

// The maintenance area's calibration controls, wired to the panel's rules: the six edit boxes with
// their Save buttons, "Apply", and the access code that unlocks the area. What Apply or a Save
// decides goes into the window's calibration in force and, for a Save, into the settings file.
class TCalibrationPanel : public QObject
{
    Q_OBJECT

public:
    struct TControls
    {
        // alpha x, y, z, theta x, y, z: tags 1..6.
        std::array<QLineEdit *, TCalibrationPanelLogic::kEditCount> edits;
        std::array<QPushButton *, TCalibrationPanelLogic::kEditCount> saves;
        QPushButton *apply;
        QLineEdit *password;
        // gbCalibration, locked and silver until the access code is typed.
        QGroupBox *area;
    };

    TCalibrationPanel(TControls controls, TCalibration &calibration, const TSettingsFile &settings,
                      TOperatorDialogs &dialogs, QObject *parent = nullptr);

    // Fills the edit boxes with the calibration in force.
    void ShowCalibration();
    void DisableCalibrationSaves();

private:
    TCalibrationPanelLogic::TEditTexts CalibrationTexts() const;
    void ShowSaveButtons();
    void PutIntoEffect(const TCalibrationDecision &decision);
    void btnApplyCalibrationParametersClick();
    void btnSaveAlphaXClick(int tag);
    void edPasswordChange(const QString &text);

    TControls m_controls;
    TCalibration &m_calibration;
    const TSettingsFile &m_settings;
    TOperatorDialogs &m_dialogs;
    TCalibrationPanelLogic m_logic;
};
