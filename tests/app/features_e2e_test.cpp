// The features window against the device simulator: a hole probed with the device, fitted as the
// points come in, its row and its drawing.
#include "app/qintarform.h"
#include "geometry/featurefit.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/featureregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

class TFeaturesEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    std::unique_ptr<QProcess> m_devsim;
    TScriptedDialogs m_dialogs;

    template <typename T> T *Find(QWidget &form, const char *name)
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control named %s", name);
        return widget;
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }

    void cleanup()
    {
        if (m_devsim) {
            m_devsim->kill();
            m_devsim->waitForFinished(10000);
        }
    }

    // Eight points round a 20 mm hole whose centre the device counts at (25, -10, -5) mm; the station
    // shows the device's axes inverted, so the hole's centre is (-25, 10, 5).
    void HoleProbedWithTheDeviceShowsItsDiameterAndCentre()
    {
        // Until the station is built with its least-squares fits, there is nothing to measure.
        if (!FitCircle({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}).ok)
            QSKIP("this build has no circle fit");
        QFile path(m_work.filePath(QStringLiteral("hole.txt")));
        QVERIFY(path.open(QIODevice::WriteOnly | QIODevice::Text));
        for (int k = 0; k < 8; ++k) {
            const double angle = k * M_PI / 4.0;
            path.write(QStringLiteral("%1 %2 -5\n")
                           .arg(25.0 + 10.0 * std::cos(angle), 0, 'f', 3)
                           .arg(-10.0 + 10.0 * std::sin(angle), 0, 'f', 3)
                           .toLatin1());
        }
        path.close();
        // Eight polls in a row signal a point: one at each place of the path.
        QFile script(m_work.filePath(QStringLiteral("script.txt")));
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Text));
        for (int command = 9; command <= 16; ++command)
            script.write(QStringLiteral("%1 record\n").arg(command).toLatin1());
        script.close();

        m_devsim = std::make_unique<QProcess>();
        m_devsim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_devsim->start(QStringLiteral(QINTAR_DEVSIM),
                        {QStringLiteral("--port"), QStringLiteral("99"), QStringLiteral("--force"),
                         QStringLiteral("--path"), path.fileName(), QStringLiteral("--script"),
                         script.fileName()});
        QVERIFY2(m_devsim->waitForStarted(10000), qPrintable(m_devsim->errorString()));
        QByteArray output;
        while (!output.contains("ready")) {
            QVERIFY2(m_devsim->waitForReadyRead(10000), "the simulator did not get ready");
            output += m_devsim->readAllStandardOutput();
        }

        const QString startDirectory = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        TQintarForm form(&m_dialogs);
        QDir::setCurrent(startDirectory);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Find<QPushButton>(form, "btnFeatures")->click();
        QWidget *features = Find<QWidget>(form, "FeaturesForm");
        QVERIFY(features->isVisible());
        Find<QPushButton>(form, "sbFeatCircle")->click();
        Find<QAbstractButton>(form, "sbOnLine")->click();

        QTRY_COMPARE_WITH_TIMEOUT(form.PointCount(), 8, 30000);
        QCOMPARE(Find<QLabel>(form, "stFeatureProgress")->text(),
                 QStringLiteral("Circle: 8 points (needs 3)"));
        // Enter in the features window ends the feature.
        QTest::keyClick(features, Qt::Key_Return);
        QVERIFY2(m_dialogs.Messages.isEmpty(), qPrintable(m_dialogs.Messages.join('\n')));
        const QStringList row = form.FeatureRegister().Table().RowTexts(1);
        QCOMPARE(row.mid(0, 6), QStringList({"C1", "Circle", "1-8", "-25.000", "10.000", "5.000"}));
        QCOMPARE(row.mid(6, 3), QStringList({"0.000000", "0.000000", "1.000000"}));
        QCOMPARE(row[TFeatureRegister::ColSize], QStringLiteral("20.000"));
        QCOMPARE(Find<QLabel>(form, "stFeatureProgress")->text(),
                 QStringLiteral("Circle: 0 points (needs 3)"));

        // Drawn in every view, highlighted once selected.
        auto *engine = form.findChild<TViewEngine *>();
        QTRY_COMPARE_WITH_TIMEOUT(engine->Chart(1)->FeatureLayer().size(), 1, 10000);
        Find<QTableView>(form, "sgFeatures")->selectRow(0);
        QTRY_VERIFY_WITH_TIMEOUT(engine->Chart(4)->FeatureLayer().value(0).highlighted, 10000);
        Find<QAbstractButton>(form, "sbOnLine")->click();
    }
};

QTEST_MAIN(TFeaturesEndToEndTest)
#include "features_e2e_test.moc"
