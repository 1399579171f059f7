#include "app/calibrationpanellogic.h"

#include "app/settingsfile.h"
#include "common/coordinatetext.h"

namespace {

const QString kBadData = QStringLiteral("bad data");

bool ValidTag(int tag)
{
    return tag >= 1 && tag <= TCalibrationPanelLogic::kEditCount;
}

float ValueOfTag(const TCalibration &c, int tag)
{
    const std::array<float, TCalibrationPanelLogic::kEditCount> values = {c.AlphaX, c.AlphaY, c.AlphaZ,
                                                                          c.ThetaX, c.ThetaY, c.ThetaZ};
    return values[static_cast<std::size_t>(tag - 1)];
}

} // namespace

TCalibrationPanelLogic::TEditTexts TCalibrationPanelLogic::EditTexts(const TCalibration &c)
{
    return {FormatCoordinate(c.AlphaX), FormatCoordinate(c.AlphaY), FormatCoordinate(c.AlphaZ),
            FormatCoordinate(c.ThetaX), FormatCoordinate(c.ThetaY), FormatCoordinate(c.ThetaZ)};
}

std::optional<TCalibration> TCalibrationPanelLogic::ReadEdits(const TEditTexts &texts)
{
    std::array<float, kEditCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = ReadDecimal(texts[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return TCalibration{values[0], values[1], values[2], values[3], values[4], values[5]};
}

bool TCalibrationPanelLogic::IsAccessCode(const QString &text)
{
    return text == QLatin1String("Movant 27");
}

TCalibrationDecision TCalibrationPanelLogic::Apply(const TEditTexts &texts) const
{
    TCalibrationDecision decision;
    const auto calibration = ReadEdits(texts);
    if (!calibration || !calibration->IsUsable())
        decision.Message = kBadData;
    else
        decision.NewCalibration = calibration;
    return decision;
}

TCalibrationDecision TCalibrationPanelLogic::Save(int tag, const TEditTexts &texts,
                                                  const TSettingsFile &settings)
{
    TCalibrationDecision decision = Apply(texts);
    if (!decision.NewCalibration)
        return decision;
    if (!ValidTag(tag))
        return decision;
    if (const auto error = settings.WriteValue(tag, ValueOfTag(*decision.NewCalibration, tag))) {
        decision.ErrorText = *error;
        return decision;
    }
    decision.WrittenTag = tag;
    decision.DisableSaveTag = tag;
    m_saveEnabled[static_cast<std::size_t>(tag - 1)] = false;
    return decision;
}

void TCalibrationPanelLogic::EditChanged(int tag)
{
    if (ValidTag(tag))
        m_saveEnabled[static_cast<std::size_t>(tag - 1)] = true;
}

void TCalibrationPanelLogic::DisableCalibrationSaves()
{
    m_saveEnabled.fill(false);
}

bool TCalibrationPanelLogic::SaveEnabled(int tag) const
{
    return ValidTag(tag) && m_saveEnabled[static_cast<std::size_t>(tag - 1)];
}
