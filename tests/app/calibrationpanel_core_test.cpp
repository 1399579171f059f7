#include "app/calibrationpanellogic.h"
#include "app/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using TTexts = TCalibrationPanelLogic::TEditTexts;

const TTexts kDefaults = {QStringLiteral("1.000"), QStringLiteral("1.000"), QStringLiteral("1.000"),
                          QStringLiteral("0.000"), QStringLiteral("0.000"), QStringLiteral("0.000")};

class CalibrationPanel : public testing::Test
{
protected:
    QString Path() const { return QDir(m_dir.path()).filePath(QStringLiteral("Qintar_54_Setup.ini")); }
    QByteArray ReadFile() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    TSettingsFile m_settings{Path()};
    TCalibrationPanelLogic m_panel;
};

TEST(CalibrationPanelTexts, EachBoxFeedsItsOwnValue)
{
    const TTexts texts = {QStringLiteral("1.5"), QStringLiteral(" +2.5"), QStringLiteral("3.5e0"),
                          QStringLiteral("-4"),  QStringLiteral("5"),     QStringLiteral("6.25")};
    EXPECT_EQ(TCalibrationPanelLogic::ReadEdits(texts), (TCalibration{1.5f, 2.5f, 3.5f, -4.0f, 5.0f, 6.25f}));
    EXPECT_EQ(TCalibrationPanelLogic::EditTexts(TCalibration{}), kDefaults);
    EXPECT_EQ(TCalibrationPanelLogic::EditTexts(TCalibration{1, 1, 1, 0, 0, 89.81f})[5],
              QStringLiteral("89.810"));
}

TEST(CalibrationPanelTexts, AppliedCalibrationCorrectsAsTheFormulaSays)
{
    const TCalibrationPanelLogic panel;
    const TTexts texts = {QStringLiteral("1.1"), QStringLiteral("0.9"), QStringLiteral("1.2"),
                          QStringLiteral("3"),   QStringLiteral("4"),   QStringLiteral("5")};
    const auto decision = panel.Apply(texts);
    ASSERT_TRUE(decision.NewCalibration);
    float x = 10.0f, y = -20.0f, z = 30.0f;
    CalibrateXYZ(x, y, z, *decision.NewCalibration);

    const double rad = std::numbers::pi / 180.0;
    const double ax = 10 * 1.1, ay = -20 * 0.9, az = 30 * 1.2;
    EXPECT_NEAR(x, ax - ay * std::sin(5 * rad) - az * std::sin(4 * rad), 1e-4);
    EXPECT_NEAR(y, ay * std::cos(5 * rad) - az * std::sin(3 * rad), 1e-4);
    EXPECT_NEAR(z, az * std::sqrt(1 - std::pow(std::sin(3 * rad), 2) - std::pow(std::sin(4 * rad), 2)), 1e-4);
}

TEST(CalibrationPanelTexts, AccessCodeIsTheWholeTextExactly)
{
    EXPECT_TRUE(TCalibrationPanelLogic::IsAccessCode(QStringLiteral("Movant 27")));
    for (const char *text : {"", "Movant 27x", "Movant 2", "movant 27", "MOVANT 27", " Movant 27",
                             "Movant 27 ", "Movant  27", "Movant27"})
        EXPECT_FALSE(TCalibrationPanelLogic::IsAccessCode(QString::fromLatin1(text))) << text;
}

struct TRefusedCase
{
    const char *Name;
    TTexts Texts;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TRefusedCase &c, std::ostream *os)
{
    *os << c.Name;
}

class RefusedEdits : public testing::TestWithParam<TRefusedCase>
{
};

// A refused Apply or Save changes no calibration value and writes nothing.
TEST_P(RefusedEdits, GiveBadDataAndKeepEverything)
{
    QTemporaryDir dir;
    const TSettingsFile settings(QDir(dir.path()).filePath(QStringLiteral("s.ini")));
    TCalibrationPanelLogic panel;

    const auto applied = panel.Apply(GetParam().Texts);
    EXPECT_EQ(applied.Message, QStringLiteral("bad data"));
    EXPECT_FALSE(applied.NewCalibration);

    panel.EditChanged(1);
    const auto saved = panel.Save(1, GetParam().Texts, settings);
    EXPECT_EQ(saved.Message, QStringLiteral("bad data"));
    EXPECT_FALSE(saved.NewCalibration);
    EXPECT_EQ(saved.WrittenTag, 0);
    EXPECT_EQ(saved.DisableSaveTag, 0);
    EXPECT_TRUE(panel.SaveEnabled(1));
    EXPECT_FALSE(QFile::exists(settings.Path()));
}

TTexts With(std::size_t index, const char *text, TTexts texts = kDefaults)
{
    texts[index] = QString::fromLatin1(text);
    return texts;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedEdits,
    testing::Values(TRefusedCase{"NotANumber", With(2, "1.0a")}, TRefusedCase{"Empty", With(0, "")},
                    TRefusedCase{"CommaAsMark", With(4, "1,5")}, TRefusedCase{"BeyondFloat", With(1, "1e39")},
                    TRefusedCase{"AnglesWithoutRealZ", With(3, "90", With(4, "90"))},
                    TRefusedCase{"BothAnglesJustOver45", With(3, "45.5", With(4, "-45.5"))}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(CalibrationPanel, AnglesUpTo45DegreesEachAreAccepted)
{
    EXPECT_TRUE(m_panel.Apply(With(3, "45", With(4, "44.9"))).NewCalibration);
    EXPECT_TRUE(m_panel.Apply(With(3, "90")).NewCalibration);
}

TEST_F(CalibrationPanel, SaveAppliesAllBoxesButWritesOnlyItsOwnKey)
{
    m_panel.DisableCalibrationSaves();
    m_panel.EditChanged(TSettingsFile::tAlphaX);
    m_panel.EditChanged(TSettingsFile::tThetaZ);
    const TTexts texts = With(0, "1.25", With(5, "89.81"));

    const auto decision = m_panel.Save(TSettingsFile::tAlphaX, texts, m_settings);
    EXPECT_TRUE(decision.Message.isEmpty());
    EXPECT_TRUE(decision.ErrorText.isEmpty());
    EXPECT_EQ(decision.NewCalibration, (TCalibration{1.25f, 1, 1, 0, 0, 89.81f}));
    EXPECT_EQ(decision.WrittenTag, TSettingsFile::tAlphaX);
    EXPECT_EQ(decision.DisableSaveTag, TSettingsFile::tAlphaX);
    EXPECT_EQ(ReadFile(), "[Scale Factors]\nAlpha X=1.25\n");
    EXPECT_FALSE(m_panel.SaveEnabled(TSettingsFile::tAlphaX));
    EXPECT_TRUE(m_panel.SaveEnabled(TSettingsFile::tThetaZ));

    ASSERT_TRUE(m_panel.Save(TSettingsFile::tThetaZ, texts, m_settings).WrittenTag);
    EXPECT_EQ(m_settings.LoadSettings().Calibration, (TCalibration{1.25f, 1, 1, 0, 0, 89.81f}));
}

TEST_F(CalibrationPanel, FailedWriteAppliesButKeepsTheButtonEnabled)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("Qintar_54_Setup.ini"));
    m_panel.EditChanged(2);
    const auto decision = m_panel.Save(2, With(1, "2"), m_settings);
    EXPECT_EQ(decision.ErrorText, QStringLiteral("Unable to write to Qintar_54_Setup.ini"));
    EXPECT_EQ(decision.NewCalibration, (TCalibration{1, 2, 1, 0, 0, 0}));
    EXPECT_EQ(decision.DisableSaveTag, 0);
    EXPECT_TRUE(m_panel.SaveEnabled(2));
}

TEST_F(CalibrationPanel, SaveButtonsFollowTheirOwnBoxes)
{
    // Start-up: showing the loaded values edits all six boxes, then every Save is disabled.
    for (int tag = 1; tag <= 6; ++tag)
        m_panel.EditChanged(tag);
    m_panel.DisableCalibrationSaves();
    for (int tag = 1; tag <= 6; ++tag)
        EXPECT_FALSE(m_panel.SaveEnabled(tag)) << tag;

    m_panel.EditChanged(4);
    for (int tag = 1; tag <= 6; ++tag)
        EXPECT_EQ(m_panel.SaveEnabled(tag), tag == 4) << tag;

    EXPECT_EQ(m_panel.Save(4, kDefaults, m_settings).DisableSaveTag, 4);
    EXPECT_FALSE(m_panel.SaveEnabled(4));
    m_panel.EditChanged(0);
    m_panel.EditChanged(7);
    EXPECT_FALSE(m_panel.SaveEnabled(0));
    EXPECT_FALSE(m_panel.SaveEnabled(7));
}

} // namespace
