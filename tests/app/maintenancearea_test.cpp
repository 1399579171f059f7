// The maintenance area behind the logo: the access code, the calibration boxes with their Save and
// Apply, and the settings file's angles read at start-up.
#include "app/settingsfile.h"
#include "stationundertest.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TMaintenanceAreaTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase()
    {
        // The settings file lives in the configuration folder; keep the tests' one to themselves.
        qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit());
    }

    void AccessCodeUnlocksTheMaintenancePanel_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("unlocked");
        // The rule itself is tested on its own; here the panel follows each change of the text.
        QTest::newRow("the code") << QStringList{"Movant 27"} << true;
        QTest::newRow("one character more") << QStringList{"Movant 27", "Movant 27x"} << false;
    }

    void AccessCodeUnlocksTheMaintenancePanel()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, unlocked);
        auto station = Start();
        TQintarForm &form = *station->form;
        for (const QString &text : typed)
            Find<QLineEdit>(form, "edPassword")->setText(text);
        auto *panel = Find<QWidget>(form, "gbCalibration");
        QCOMPARE(panel->isEnabled(), unlocked);
        QCOMPARE(panel->palette().color(QPalette::Window),
                 unlocked ? QColor(255, 251, 240) : QColor(192, 192, 192));
    }

    void SaveWritesItsOwnValueAndAppliesAll()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        QCOMPARE(Find<QLineEdit>(form, "editalphax")->text(), QStringLiteral("1.000"));
        QCOMPARE(Find<QLineEdit>(form, "editthetaz")->text(), QStringLiteral("0.000"));
        Find<QLineEdit>(form, "edPassword")->setText(QStringLiteral("Movant 27"));
        Find<QLineEdit>(form, "editalphax")->setText(QStringLiteral("1.5"));
        Find<QLineEdit>(form, "editthetaz")->setText(QStringLiteral("0.5"));
        QVERIFY(Find<QWidget>(form, "btnSaveAlphaX")->isEnabled());
        QVERIFY(Find<QWidget>(form, "btnSaveThetaZ")->isEnabled());
        QVERIFY(!Find<QWidget>(form, "btnSaveAlphaY")->isEnabled());

        Find<QPushButton>(form, "btnSaveAlphaX")->click();
        QVERIFY(!Find<QWidget>(form, "btnSaveAlphaX")->isEnabled());
        QVERIFY(Find<QWidget>(form, "btnSaveThetaZ")->isEnabled());
        QCOMPARE(form.Calibration().AlphaX, 1.5f);
        QCOMPARE(form.Calibration().ThetaZ, 0.5f);
        QFile settings(m_configFolder.filePath(QStringLiteral("Qintar_54_Setup.ini")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray written = settings.readAll();
        QVERIFY2(written.contains("Alpha X=1.5"), written.constData());
        QVERIFY(!written.contains("Theta Z"));
        settings.remove();
    }

    void UnusableAnglesAreToldOnceAtStartUp()
    {
        QFile settings(m_configFolder.filePath(QStringLiteral("Qintar_54_Setup.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Offset Angles]\r\nTheta X=80\r\nTheta Y=70\r\nTheta Z=0.25\r\n");
        settings.close();
        auto station = Start();
        settings.remove();
        QCOMPARE(station->dialogs.Messages,
                 QStringList(TSettingsFile::ReplacedMessage(
                     {QStringLiteral("Theta X = 80"), QStringLiteral("Theta Y = 70")})));
        QCOMPARE(Find<QLineEdit>(*station->form, "editthetax")->text(), QStringLiteral("0.000"));
        QCOMPARE(Find<QLineEdit>(*station->form, "editthetaz")->text(), QStringLiteral("0.250"));
    }

    void ApplyRefusesBadDataAndKeepsTheCalibration()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Find<QLineEdit>(form, "edPassword")->setText(QStringLiteral("Movant 27"));
        Find<QLineEdit>(form, "editalphay")->setText(QStringLiteral("2"));
        Find<QLineEdit>(form, "editthetax")->setText(QStringLiteral("abc"));
        Find<QPushButton>(form, "btnApplyCalibrationParameters")->click();
        QCOMPARE(station->dialogs.Messages, QStringList("bad data"));
        QCOMPARE(form.Calibration(), TCalibration{});
        QCOMPARE(Find<QLineEdit>(form, "editthetax")->text(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(TMaintenanceAreaTest)
#include "maintenancearea_test.moc"
