#include "app/calibrationpanel.h"

#include "app/stationcolours.h"
#include "common/operatordialogs.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using namespace StationColours;

TCalibrationPanel::TCalibrationPanel(TControls controls, TCalibration &calibration,
                                     const TSettingsFile &settings, TOperatorDialogs &dialogs,
                                     QObject *parent)
    : QObject(parent), m_controls(controls), m_calibration(calibration), m_settings(settings),
      m_dialogs(dialogs)
{
    SetBackground(m_controls.area, Silver);
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i) {
        const int tag = i + 1;
        connect(m_controls.edits[i], &QLineEdit::textChanged, this, [this, tag] {
            m_logic.EditChanged(tag);
            ShowSaveButtons();
        });
        connect(m_controls.saves[i], &QPushButton::clicked, this, [this, tag] { btnSaveAlphaXClick(tag); });
    }
    connect(m_controls.apply, &QPushButton::clicked, this,
            &TCalibrationPanel::btnApplyCalibrationParametersClick);
    connect(m_controls.password, &QLineEdit::textChanged, this, &TCalibrationPanel::edPasswordChange);
}

void TCalibrationPanel::ShowCalibration()
{
    const auto texts = TCalibrationPanelLogic::EditTexts(m_calibration);
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        m_controls.edits[i]->setText(texts[static_cast<std::size_t>(i)]);
}

void TCalibrationPanel::DisableCalibrationSaves()
{
    m_logic.DisableCalibrationSaves();
    ShowSaveButtons();
}

TCalibrationPanelLogic::TEditTexts TCalibrationPanel::CalibrationTexts() const
{
    TCalibrationPanelLogic::TEditTexts texts;
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        texts[static_cast<std::size_t>(i)] = m_controls.edits[i]->text();
    return texts;
}

void TCalibrationPanel::ShowSaveButtons()
{
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        m_controls.saves[i]->setEnabled(m_logic.SaveEnabled(i + 1));
}

void TCalibrationPanel::PutIntoEffect(const TCalibrationDecision &decision)
{
    if (decision.NewCalibration)
        m_calibration = *decision.NewCalibration;
    ShowSaveButtons();
    if (!decision.Message.isEmpty())
        m_dialogs.ShowMessage(decision.Message);
    if (!decision.ErrorText.isEmpty())
        m_dialogs.ShowError(decision.ErrorText);
}

void TCalibrationPanel::btnApplyCalibrationParametersClick()
{
    PutIntoEffect(m_logic.Apply(CalibrationTexts()));
}

void TCalibrationPanel::btnSaveAlphaXClick(int tag)
{
    PutIntoEffect(m_logic.Save(tag, CalibrationTexts(), m_settings));
}

void TCalibrationPanel::edPasswordChange(const QString &text)
{
    const bool unlocked = TCalibrationPanelLogic::IsAccessCode(text);
    m_controls.area->setEnabled(unlocked);
    SetBackground(m_controls.area, unlocked ? Cream : Silver);
}
