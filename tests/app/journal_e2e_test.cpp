// A station killed with SIGKILL in the middle of its work, against the simulator: the next station in
// the same folder offers the work back and rebuilds it exactly, and numbering goes on from it.
#include "app/qintarform.h"
#include "app/stationjournal.h"
#include "app/stationprobe.h"
#include "app/stationquality.h"
#include "plots/viewengine.h"
#include "register/featureregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string_view>

class TJournalEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    std::unique_ptr<QProcess> m_devsim;

    void StartSimulator(const QStringList &script)
    {
        QFile path(m_work.filePath(QStringLiteral("path.txt")));
        QVERIFY(path.open(QIODevice::WriteOnly | QIODevice::Text));
        for (int i = 0; i < 10; ++i)
            path.write(
                QStringLiteral("%1 %2 %3\n").arg(10 + 3 * i).arg(-5 + 0.5 * i * i).arg(2.5 * i).toLatin1());
        path.close();
        QFile scriptFile(m_work.filePath(QStringLiteral("script.txt")));
        QVERIFY(scriptFile.open(QIODevice::WriteOnly | QIODevice::Text));
        scriptFile.write(script.join(QLatin1Char('\n')).toLatin1() + '\n');
        scriptFile.close();
        StopSimulator();
        m_devsim = std::make_unique<QProcess>();
        m_devsim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_devsim->start(QStringLiteral(QINTAR_DEVSIM), {"--port", "99", "--force", "--instant", "--path",
                                                        path.fileName(), "--script", scriptFile.fileName()});
        QVERIFY2(m_devsim->waitForStarted(10000), qPrintable(m_devsim->errorString()));
        QByteArray output;
        while (!output.contains("ready")) {
            QVERIFY2(m_devsim->waitForReadyRead(10000), "the simulator did not get ready");
            output += m_devsim->readAllStandardOutput();
        }
    }

    void StopSimulator()
    {
        if (!m_devsim)
            return;
        m_devsim->kill();
        m_devsim->waitForFinished(10000);
        m_devsim.reset();
    }

    static QStringList Dump(TQintarForm &form)
    {
        QStringList lines;
        for (const char *name : {"sgData", "sgDistance", "sgAngles", "sgFeatures"}) {
            const TTextTable *table =
                std::string_view(name) == "sgFeatures"
                    ? &form.FeatureRegister().Table()
                    : qobject_cast<TTextTable *>(form.findChild<QTableView *>(QLatin1String(name))->model());
            for (int row = 1; row < table->RowCount() && !table->IsRowFree(row); ++row)
                lines.append(QStringLiteral("%1 %2").arg(QLatin1String(name),
                                                         table->RowTexts(row).join(QLatin1Char(','))));
        }
        const TTextTable *kept[] = {&form.Inspection()->Characteristics().Table(),
                                    &form.StationProbe()->Approaches()};
        for (const TTextTable *table : kept)
            for (int row = 1; row < table->RowCount() && !table->IsRowFree(row); ++row)
                lines.append(
                    QStringLiteral("%1 %2").arg(table == kept[0] ? "sgCharacteristics" : "approaches",
                                                table->RowTexts(row).join(QLatin1Char(','))));
        lines.append(QStringLiteral("name ") +
                     form.findChild<QLineEdit *>(QStringLiteral("edProjectName"))->text());
        lines.append(QStringLiteral("count %1").arg(form.PointCount()));
        return lines;
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }
    void cleanupTestCase() { StopSimulator(); }

    void KilledStationIsRestoredExactly()
    {
        StartSimulator({"5 record", "6 record", "7 record"});
        QProcess station;
        station.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        station.start(QStringLiteral(QINTAR_JOURNALSTATION), {m_work.path()});
        QVERIFY2(station.waitForStarted(10000), qPrintable(station.errorString()));
        QByteArray output;
        while (!output.contains("ready\n")) {
            QVERIFY2(station.waitForReadyRead(60000), output.constData());
            output += station.readAllStandardOutput();
        }
        QStringList before = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        before.removeLast();
        QVERIFY2(before.filter(QStringLiteral("sgDistance ")).size() == 1, qPrintable(before.join('\n')));
        QVERIFY2(before.filter(QStringLiteral("sgAngles ")).size() == 1, qPrintable(before.join('\n')));
        QCOMPARE(before.filter(QStringLiteral("sgData ")).size(), 2);
        QCOMPARE(before.filter(QStringLiteral("sgFeatures ")).size(), 1);
        QVERIFY2(before.contains(
                     QStringLiteral("sgCharacteristics C1,Diameter,20.000,0.020,-0.010,20.000,0.000,OK")),
                 qPrintable(before.join('\n')));
        QVERIFY(before.contains(QStringLiteral("approaches 3,0.000000,1.000000,0.000000")));
        // Polling goes on while it is killed.
        QTest::qWait(300);
        station.kill();
        QVERIFY(station.waitForFinished(10000));
        QCOMPARE(station.exitStatus(), QProcess::CrashExit);
        const QStringList journals =
            QDir(m_work.filePath(QStringLiteral("Data")))
                .entryList({TStationJournal::FilePrefix + "*" + TStationJournal::FileSuffix},
                           QDir::Files | QDir::Hidden);
        QCOMPARE(journals.size(), 1);

        StartSimulator({"3 record"});
        TScriptedDialogs dialogs;
        dialogs.Answers = {true};
        const QString startDirectory = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        TQintarForm form(&dialogs);
        QDir::setCurrent(startDirectory);
        QCOMPARE(dialogs.Questions.size(), 1);
        QVERIFY2(dialogs.Questions[0].endsWith(QStringLiteral("(2 points, 1 distance, 1 angle, 1 feature)?")),
                 qPrintable(dialogs.Questions[0]));
        QCOMPARE(Dump(form), before);
        // Three marks in each view, the deleted point's hollow.
        auto *engine = form.findChild<TViewEngine *>();
        for (int series = 1; series <= 4; ++series) {
            QCOMPARE(engine->SeriesCount(series), 3);
            QVERIFY(engine->IsMarkDeleted(series, 1));
            QVERIFY(!engine->IsMarkDeleted(series, 0) && !engine->IsMarkDeleted(series, 2));
        }

        form.findChild<QAbstractButton *>(QStringLiteral("sbOnLine"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(form.PointCount(), 4, 20000);
        auto *data =
            qobject_cast<TTextTable *>(form.findChild<QTableView *>(QStringLiteral("sgData"))->model());
        QCOMPARE(data->Cell(0, 3), QStringLiteral("4"));
        QCOMPARE(engine->SeriesCount(1), 4);
    }
};

QTEST_MAIN(TJournalEndToEndTest)
#include "journal_e2e_test.moc"
