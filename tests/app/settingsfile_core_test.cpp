#include "app/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Points the user's configuration folder at a fresh temporary folder for the length of a test.
class SettingsFile : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        QLocale::setDefault(QLocale::c());
    }

    QString Path() const { return QDir(m_config.path()).filePath(QStringLiteral("Qintar_54_Setup.ini")); }

    void WriteFile(const QByteArray &content) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray ReadFile() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_config;
    QByteArray m_oldConfig;
};

TEST_F(SettingsFile, LivesInTheConfigurationFolderNotTheWorkingDirectory)
{
    EXPECT_EQ(TSettingsFile().Path(), Path());
    EXPECT_EQ(TSettingsFile::DefaultPath(), Path());
}

TEST_F(SettingsFile, MissingFileGivesDefaults)
{
    const TStationSettings settings = TSettingsFile().LoadSettings();
    EXPECT_EQ(settings, TStationSettings{});
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(SettingsFile, ReadsEveryKeyWithBlanksInTheirNames)
{
    WriteFile("[USB Comms]\r\nPort Number=0x1F\r\n"
              "[Scale Factors]\r\nAlpha X=1.001\r\nAlpha Y = 0.999\r\nAlpha Z=-1\r\n"
              "[Offset Angles]\r\nTheta X=0.5\r\nTheta Y=-0.25\r\nTheta Z=89.8099975585938\r\n");
    const TStationSettings settings = TSettingsFile().LoadSettings();
    EXPECT_EQ(settings.PortNumber, 31);
    EXPECT_EQ(settings.Calibration, (TCalibration{1.001f, 0.999f, -1.0f, 0.5f, -0.25f, 89.81f}));
}

TEST_F(SettingsFile, BrokenValuesFallBackOneByOne)
{
    WriteFile("[USB Comms]\nPort Number=70000\n"
              "[Scale Factors]\nAlpha X=abc\nAlpha Y=\nAlpha Z=2\n"
              "[Offset Angles]\nTheta X=1e99\nTheta Y=3\nTheta Z=nan\n");
    const TStationSettings settings = TSettingsFile().LoadSettings();
    EXPECT_EQ(settings.PortNumber, 99);
    EXPECT_EQ(settings.Calibration, (TCalibration{1.0f, 1.0f, 2.0f, 0.0f, 3.0f, 0.0f}));
}

TEST_F(SettingsFile, AnglesWithoutARealZFallBackToDefaultAnglesAndAreListed)
{
    WriteFile("[Scale Factors]\nAlpha X=2\n[Offset Angles]\nTheta X=90\nTheta Y=60.5\nTheta Z=1.5\n");
    const TStationSettings settings = TSettingsFile().LoadSettings();
    // Theta Z plays no part in the root and is kept.
    EXPECT_EQ(settings.Calibration, (TCalibration{2.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.5f}));
    EXPECT_EQ(settings.Replaced, QStringList({"Theta X = 90", "Theta Y = 60.5"}));
}

TEST_F(SettingsFile, ReadsTheLocalesDecimalMarkWhenThePointFails)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    WriteFile("[Scale Factors]\nAlpha X=1,5\nAlpha Y=1.25\nAlpha Z=1,000.5\n");
    const TCalibration c = TSettingsFile().LoadSettings().Calibration;
    EXPECT_EQ(c.AlphaX, 1.5f);
    EXPECT_EQ(c.AlphaY, 1.25f);
    EXPECT_EQ(c.AlphaZ, 1.0f);
}

struct TPortCase
{
    const char *Text;
    std::optional<quint16> Port;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TPortCase &c, std::ostream *os)
{
    *os << c.Text;
}

class PortNumberText : public testing::TestWithParam<TPortCase>
{
};

TEST_P(PortNumberText, Parses)
{
    EXPECT_EQ(TSettingsFile::ParsePortNumber(QString::fromLatin1(GetParam().Text)), GetParam().Port)
        << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, PortNumberText,
                         testing::Values(TPortCase{"5", 5}, TPortCase{"0x1F", 31}, TPortCase{"0Xff", 255},
                                         TPortCase{" 7 ", 7}, TPortCase{"65535", 65535}, TPortCase{"0", 0},
                                         TPortCase{"65536", std::nullopt}, TPortCase{"0x10000", std::nullopt},
                                         TPortCase{"-1", std::nullopt}, TPortCase{"+5", std::nullopt},
                                         TPortCase{"12abc", std::nullopt}, TPortCase{"1.5", std::nullopt},
                                         TPortCase{"0x", std::nullopt}, TPortCase{"0xg1", std::nullopt},
                                         TPortCase{"", std::nullopt},
                                         TPortCase{"99999999999999999999999", std::nullopt}));

TEST(SettingsFileText, RealsAreWrittenAsFifteenSignificantDigitsOfTheFloat)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TSettingsFile::FormatReal(89.81f), QStringLiteral("89.8099975585938"));
    EXPECT_EQ(TSettingsFile::FormatReal(1.0f), QStringLiteral("1"));
    EXPECT_EQ(TSettingsFile::FormatReal(-0.5f), QStringLiteral("-0.5"));
    EXPECT_EQ(TSettingsFile::FormatReal(0.1f), QStringLiteral("0.100000001490116"));
    EXPECT_EQ(TSettingsFile::FormatReal(1e20f), QStringLiteral("1.00000002004088e+20"));
    QLocale::setDefault(QLocale::c());
}

TEST_F(SettingsFile, SavedValueReadsBackAsTheSameFloat)
{
    const TSettingsFile file;
    for (float value : {89.81f, 0.1f, -1e-6f, 1.0f, 123456.79f}) {
        ASSERT_FALSE(file.WriteValue(TSettingsFile::tThetaZ, value));
        EXPECT_EQ(file.LoadSettings().Calibration.ThetaZ, value);
    }
    EXPECT_EQ(ReadFile(), "[Offset Angles]\nTheta Z=123456.7890625\n");
}

TEST_F(SettingsFile, WritingOneKeyKeepsTheRestByteForByte)
{
    const QByteArray before = "; written by hand\r\n"
                              "[USB Comms]\r\n"
                              "Port Number=0x05\r\n"
                              "\r\n"
                              "[Scale Factors]\r\n"
                              "Alpha X=1\r\n"
                              "Alpha Y=1.0001\r\n"
                              "[Offset Angles]\r\n"
                              "Theta Z=90\r\n"
                              "[Extra]\r\n"
                              "Something Else = kept \r\n";
    WriteFile(before);
    const TSettingsFile file;
    ASSERT_FALSE(file.WriteValue(TSettingsFile::tAlphaY, 89.81f));
    ASSERT_FALSE(file.WriteValue(TSettingsFile::tThetaX, 1.0f));
    QByteArray expected = before;
    expected.replace("Alpha Y=1.0001", "Alpha Y=89.8099975585938");
    expected.replace("Theta Z=90\r\n", "Theta Z=90\r\nTheta X=1\r\n");
    EXPECT_EQ(ReadFile(), expected);
    EXPECT_EQ(file.LoadSettings().PortNumber, 5);
}

TEST_F(SettingsFile, OtherTagsWriteNothing)
{
    const TSettingsFile file;
    EXPECT_FALSE(file.WriteValue(0, 1.0f));
    EXPECT_FALSE(file.WriteValue(7, 1.0f));
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(SettingsFile, FailureToWriteIsReported)
{
    QDir(m_config.path()).mkdir(QStringLiteral("Qintar_54_Setup.ini"));
    EXPECT_EQ(TSettingsFile().WriteValue(TSettingsFile::tAlphaX, 2.0f),
              QStringLiteral("Unable to write to Qintar_54_Setup.ini"));
    EXPECT_EQ(TSettingsFile(QString()).WriteValue(TSettingsFile::tAlphaX, 2.0f),
              QStringLiteral("Unable to write to Qintar_54_Setup.ini"));
}

// The ball diameter has a section of its own; a diameter that is no size gives 0 (surface points) and
// leaves the calibration as read.
TEST_F(SettingsFile, BallDiameterIsReadWrittenAndCheckedBesideTheCalibration)
{
    WriteFile("[Scale Factors]\r\nAlpha X=1.5\r\n[Probe]\r\nBall Diameter=-2\r\n");
    EXPECT_EQ(TSettingsFile().LoadSettings().BallDiameter, 0.0);
    EXPECT_FLOAT_EQ(TSettingsFile().LoadSettings().Calibration.AlphaX, 1.5f);
    ASSERT_FALSE(TSettingsFile().WriteBallDiameter(1.998));
    const QByteArray written = ReadFile();
    EXPECT_TRUE(written.contains("Ball Diameter=1.998\r\n")) << written.constData();
    EXPECT_TRUE(written.contains("Alpha X=1.5\r\n"));
    EXPECT_NEAR(TSettingsFile().LoadSettings().BallDiameter, 1.998, 1e-6);
    EXPECT_TRUE(TSettingsFile().WriteBallDiameter(std::nan("")));
}

} // namespace
