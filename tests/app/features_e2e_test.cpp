// The features window against the device simulator: a hole probed with the device, fitted as the
// points come in, its row and its drawing; a bore probed with a ball from its centre.
#include "app/qintarform.h"
#include "geometry/featurefit.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/featureregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

    // A 20 mm bore whose centre the device counts at (25, -10, -5), probed at four points with a 2 mm
    // ball: the probe leaves the centre toward each point, the point is recorded where the ball's centre
    // stops 1 mm short of the wall (9 mm out) and the probe comes back. The positions polled on the way
    // out give each point its approach, so the circle fitted to the ball centres (18 mm) grows by the
    // ball to the bore's 20 mm; with no ball entered it stays 18 mm.
    void BoreProbedFromItsCentreIsCompensatedByTheBall()
    {
        if (!FitCircle({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}).ok)
            QSKIP("this build has no circle fit");
        QFile path(m_work.filePath(QStringLiteral("bore.txt")));
        QVERIFY(path.open(QIODevice::WriteOnly | QIODevice::Text));
        // One position a poll; each approach takes six polls, the last of them recorded: the way back from
        // the previous point (6 and 3 mm out), the centre, and the way out (3, 6 and 9 mm).
        const auto at = [&](int point, double radius) {
            const double angle = point * M_PI / 2.0;
            path.write(QStringLiteral("%1 %2 -5\n")
                           .arg(25.0 + radius * std::cos(angle), 0, 'f', 3)
                           .arg(-10.0 + radius * std::sin(angle), 0, 'f', 3)
                           .toLatin1());
        };
        for (int point = 0; point < 4; ++point) {
            at(point + 3, 6.0);
            at(point + 3, 3.0);
            at(point, 0.0);
            for (double radius : {3.0, 6.0, 9.0})
                at(point, radius);
        }
        path.close();

        m_devsim = std::make_unique<QProcess>();
        m_devsim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_devsim->start(QStringLiteral(QINTAR_DEVSIM),
                        {QStringLiteral("--port"), QStringLiteral("98"), QStringLiteral("--force"),
                         QStringLiteral("--path"), path.fileName(), QStringLiteral("--record-every"),
                         QStringLiteral("6"), QStringLiteral("--instant")});
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
        Find<QAbstractButton>(form, "sbOnLine")->click();
        // The path goes round and round: the first four points are the bore's.
        QTRY_VERIFY_WITH_TIMEOUT(form.PointCount() >= 4, 30000);
        Find<QAbstractButton>(form, "sbOnLine")->click();

        auto *ball = Find<QLineEdit>(form, "edProbeDiameter");
        auto *numbers = Find<QLineEdit>(form, "edFeaturePoints");
        Find<QPushButton>(form, "sbFeatCircle")->click();
        for (const char *diameter : {"2.000", "0"}) {
            ball->setText(QLatin1String(diameter));
            Q_EMIT ball->editingFinished();
            numbers->setText(QStringLiteral("1-4"));
            Find<QPushButton>(form, "btnFitFeature")->click();
        }
        QVERIFY2(m_dialogs.Messages.isEmpty(), qPrintable(m_dialogs.Messages.join('\n')));
        const TTextTable &table = form.FeatureRegister().Table();
        QCOMPARE(table.RowTexts(1).mid(0, 6),
                 QStringList({"C1", "Circle", "1-4", "-25.000", "10.000", "5.000"}));
        QCOMPARE(table.Cell(TFeatureRegister::ColSize, 1), QStringLiteral("20.000"));
        QCOMPARE(table.RowTexts(2).mid(0, 6),
                 QStringList({"C2", "Circle", "1-4", "-25.000", "10.000", "5.000"}));
        QCOMPARE(table.Cell(TFeatureRegister::ColSize, 2), QStringLiteral("18.000"));
    }
};

QTEST_MAIN(TFeaturesEndToEndTest)
#include "features_e2e_test.moc"
