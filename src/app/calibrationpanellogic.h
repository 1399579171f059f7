#pragma once

#include "common/calibration.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class TSettingsFile;

// What a press of "Apply" or a Save button decides; the window puts it into effect.
struct TCalibrationDecision
{
    // The calibration to put in force; none keeps the one in force.
    std::optional<TCalibration> NewCalibration;
    // "bad data" for the operator, or empty.
    QString Message;
    // The error from writing the settings file, for the error box, or empty.
    QString ErrorText;
    // The tag (1..6) of the Save button to disable, or 0.
    int DisableSaveTag = 0;
    // The tag whose key was written to the settings file, or 0.
    int WrittenTag = 0;
};

// The maintenance panel's rules, without its widgets: the six edit boxes (alpha x, y, z, theta x, y, z,
// tags 1..6 in that order) read into a calibration for "Apply" and the Save buttons, which Save buttons
// are enabled, and the access code.
//
// A text that is not a number, or angles for which the corrected Z would be the root of a negative
// number, give "bad data" and leave the calibration in force untouched; a failed Save writes nothing.
class TCalibrationPanelLogic
{
public:
    static constexpr int kEditCount = 6;
    using TEditTexts = std::array<QString, kEditCount>;

    // The texts the six edit boxes show for a calibration (1 shows as "1.000").
    static TEditTexts EditTexts(const TCalibration &calibration);
    // The six texts as a calibration; no value when any text is not a well-formed decimal number.
    static std::optional<TCalibration> ReadEdits(const TEditTexts &texts);
    // True only for the whole text "Movant 27", exactly so.
    static bool IsAccessCode(const QString &text);

    TCalibrationDecision Apply(const TEditTexts &texts) const;
    // The Save button with the tag was pressed: applies all six boxes and writes the one value of
    // the tag (any other tag only applies).
    TCalibrationDecision Save(int tag, const TEditTexts &texts, const TSettingsFile &settings);

    // Save buttons: an edit of a box enables its own button, a successful Save disables it.
    void EditChanged(int tag);
    void DisableCalibrationSaves();
    bool SaveEnabled(int tag) const;

private:
    std::array<bool, kEditCount> m_saveEnabled{};
};
