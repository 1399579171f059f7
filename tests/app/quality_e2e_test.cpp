// A batch measured with the device simulator: a bore, a face and an edge probed on part 1 and fitted,
// their characteristics added, Next part, and part 2 measured feature by feature as the guide names
// them, with the simulator at the second part's positions. The characteristics then show part 2's
// results, the results history holds both parts, and the reports say so.
#include "app/qintarform.h"
#include "app/stationquality.h"
#include "geometry/featurefit.h"
#include "pdftext.h"
#include "register/characteristicregister.h"
#include "register/featureregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

struct TPartShape
{
    // The bore's centre X and diameter, the face's raised corner, the edge's middle point off its line.
    double boreX;
    double boreDiameter;
    double cornerZ;
    double edgeOffset;
};

// Positions in the device's millimetres, one a poll: four round the bore at Z -5, four corners of the
// top face at Z 0, three along the front edge.
QByteArray PathOf(const TPartShape &part)
{
    QByteArray path;
    const auto add = [&](double x, double y, double z) {
        path += QStringLiteral("%1 %2 %3\n").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3).arg(z, 0, 'f', 3).toLatin1();
    };
    for (int k = 0; k < 4; ++k)
        add(part.boreX + part.boreDiameter / 2 * std::cos(k * M_PI / 2),
            -10.0 + part.boreDiameter / 2 * std::sin(k * M_PI / 2), -5.0);
    add(0, 0, 0);
    add(50, 0, 0);
    add(50, 40, part.cornerZ);
    add(0, 40, 0);
    add(0, -20, -2);
    add(20, -20 + part.edgeOffset, -2);
    add(40, -20, -2);
    return path;
}

} // namespace

class TQualityEndToEndTest : public QObject
{
    Q_OBJECT

private:
    static constexpr quint16 Port = 97;
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    std::unique_ptr<QProcess> m_devsim;
    TScriptedDialogs m_dialogs;

    // The simulator at the part's positions, every poll a recorded point, round and round.
    bool StartSimulator(const TPartShape &part, const QString &name)
    {
        StopSimulator();
        QFile path(m_work.filePath(name));
        if (!path.open(QIODevice::WriteOnly) || path.write(PathOf(part)) < 0)
            return false;
        path.close();
        m_devsim = std::make_unique<QProcess>();
        m_devsim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_devsim->start(QStringLiteral(QINTAR_DEVSIM),
                        {QStringLiteral("--port"), QString::number(Port), QStringLiteral("--force"),
                         QStringLiteral("--path"), path.fileName(), QStringLiteral("--record-every"),
                         QStringLiteral("1"), QStringLiteral("--instant")});
        if (!m_devsim->waitForStarted(10000))
            return false;
        QByteArray output;
        while (!output.contains("ready")) {
            if (!m_devsim->waitForReadyRead(10000))
                return false;
            output += m_devsim->readAllStandardOutput();
        }
        return true;
    }

    void StopSimulator()
    {
        if (m_devsim) {
            m_devsim->kill();
            m_devsim->waitForFinished(10000);
            m_devsim.reset();
        }
    }

    void Fit(TQintarForm &form, const char *type, const QString &numbers)
    {
        Find<QPushButton>(form, type)->click();
        Find<QLineEdit>(form, "edFeaturePoints")->setText(numbers);
        Find<QPushButton>(form, "btnFitFeature")->click();
    }

    void AddCharacteristic(TQintarForm &form, int featureRow, const QString &what, const QString &nominal,
                           const QString &upper, const QString &lower)
    {
        Find<QTableView>(form, "sgFeatures")->selectRow(featureRow - 1);
        auto *kinds = Find<QComboBox>(form, "cbCharacteristic");
        kinds->setCurrentIndex(kinds->findText(what));
        QVERIFY2(kinds->currentText() == what, qPrintable(what));
        Find<QLineEdit>(form, "edNominal")->setText(nominal);
        Find<QLineEdit>(form, "edUpper")->setText(upper);
        Find<QLineEdit>(form, "edLower")->setText(lower);
        Find<QPushButton>(form, "btnAddCharacteristic")->click();
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }
    void cleanup() { StopSimulator(); }

    void SecondPartIsGuidedFeatureByFeatureAndJoinsTheHistory()
    {
        if (!FitCircle({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}).ok)
            QSKIP("this build has no circle fit");
        const TPartShape first{25.0, 20.0, 0.004, 0.0};
        const TPartShape second{25.02, 20.02, 0.012, 0.006};
        QVERIFY(StartSimulator(first, QStringLiteral("part1.txt")));

        const QString startDirectory = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        TQintarForm form(&m_dialogs);
        QDir::setCurrent(startDirectory);
        form.UsePortNumber(Port);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Find<QPushButton>(form, "btnFeatures")->click();
        auto *onLine = Find<QAbstractButton>(form, "sbOnLine");

        // Part 1: the path's eleven points, then the features fitted to them by number. The path goes
        // round and round, so more may come before the station is off line.
        onLine->click();
        QTRY_VERIFY_WITH_TIMEOUT(form.PointCount() >= 11, 60000);
        onLine->click();
        Fit(form, "sbFeatCircle", QStringLiteral("1-4"));
        Fit(form, "sbFeatPlane", QStringLiteral("5-8"));
        Fit(form, "sbFeatLine", QStringLiteral("9-11"));
        QVERIFY2(m_dialogs.Messages.isEmpty(), qPrintable(m_dialogs.Messages.join('\n')));
        const TTextTable &features = form.FeatureRegister().Table();
        QCOMPARE(features.RowTexts(1).mid(0, 4), QStringList({"C1", "Circle", "1-4", "-25.000"}));
        QCOMPARE(features.RowTexts(2).mid(0, 3), QStringList({"PL1", "Plane", "5-8"}));
        QCOMPARE(features.RowTexts(3).mid(0, 3), QStringList({"L1", "Line", "9-11"}));

        AddCharacteristic(form, 1, "Diameter", "20", "0.015", "-0.01");
        AddCharacteristic(form, 1, "Position X", "-25", "0.05", "-0.05");
        AddCharacteristic(form, 2, "Flatness", "", "0.01", "");
        AddCharacteristic(form, 3, "Straightness", "", "0.01", "");
        QVERIFY2(m_dialogs.Messages.isEmpty(), qPrintable(m_dialogs.Messages.join('\n')));
        const TTextTable &characteristics = form.Inspection()->Characteristics().Table();
        using C = TCharacteristicRegister;
        QCOMPARE(characteristics.Cell(C::ColActual, 1), QStringLiteral("20.000"));
        QCOMPARE(characteristics.Cell(C::ColActual, 2), QStringLiteral("-25.000"));
        QCOMPARE(characteristics.Cell(C::ColActual, 4), QStringLiteral("0.000"));
        QStringList firstActuals;
        for (int row = 1; row <= 4; ++row)
            firstActuals << characteristics.Cell(C::ColActual, row);
        QCOMPARE(form.Inspection()->Characteristics().Summary().Text(),
                 QStringLiteral("4 characteristics, 4 OK, 0 NOK"));

        // Next part keeps part 1 and empties the point table; the guide names the bore's first point.
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        QTest::keyClicks(Find<QLineEdit>(form, "edPartSerial"), QStringLiteral("S-1"));
        m_dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::No};
        Find<QPushButton>(form, "btnNextPart")->click();
        QCOMPARE(m_dialogs.Errors, QStringList());
        QCOMPARE(form.Inspection()->History().Parts().size(), 1);
        QCOMPARE(form.PointCount(), 0);
        auto *guide = Find<QLabel>(form, "stGuide");
        QCOMPARE(guide->text(), QStringLiteral("C1 Circle: point 1 of 4"));
        QCOMPARE(characteristics.Cell(C::ColResult, 1), C::MissingText);

        // Part 2, with the simulator at its own positions: every point joins the feature in hand.
        QTest::keyClicks(Find<QLineEdit>(form, "edPartSerial"), QStringLiteral("S-2"));
        QVERIFY(StartSimulator(second, QStringLiteral("part2.txt")));
        onLine->click();
        QTRY_VERIFY_WITH_TIMEOUT(guide->text().startsWith(QStringLiteral("Plan done")), 60000);
        onLine->click();
        QCOMPARE(guide->text(), QStringLiteral("Plan done: 3 of 3 features measured"));
        QVERIFY2(m_dialogs.Messages.isEmpty(), qPrintable(m_dialogs.Messages.join('\n')));
        QCOMPARE(m_dialogs.Errors, QStringList());
        QCOMPARE(features.RowTexts(1).mid(0, 4), QStringList({"C1", "Circle", "1-4", "-25.020"}));
        QCOMPARE(features.Cell(TFeatureRegister::ColFrom, 2), QStringLiteral("5-8"));
        QCOMPARE(features.Cell(TFeatureRegister::ColFrom, 3), QStringLiteral("9-11"));

        // The characteristics show part 2: a larger bore, off centre, a face and an edge less flat and
        // straight; the bore is over its limit.
        QCOMPARE(characteristics.RowTexts(1).mid(C::ColActual), QStringList({"20.020", "0.020", C::NokText}));
        QCOMPARE(characteristics.RowTexts(2).mid(C::ColActual),
                 QStringList({"-25.020", "-0.020", C::OkText}));
        QStringList secondActuals;
        for (int row = 1; row <= 4; ++row) {
            secondActuals << characteristics.Cell(C::ColActual, row);
            QVERIFY2(secondActuals.back() != firstActuals.at(row - 1), qPrintable(secondActuals.back()));
        }
        QVERIFY(secondActuals[2].toDouble() > firstActuals[2].toDouble());
        QVERIFY(secondActuals[3].toDouble() > 0.0);

        // The history holds both parts, in the file as in the window.
        const auto &parts = form.Inspection()->History().Parts();
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(0).serialNumber, QStringLiteral("S-1"));
        QCOMPARE(parts.at(0).actuals, firstActuals);
        QCOMPARE(parts.at(1).serialNumber, QStringLiteral("S-2"));
        QCOMPARE(parts.at(1).actuals, secondActuals);
        QFile history(m_work.filePath(QStringLiteral("Data/Bracket.results.csv")));
        QVERIFY(history.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = history.readAll().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(
            lines.at(0).startsWith("Serial number,Date and time,Operator,C1 Diameter 20.000 +0.015/-0.010,"));
        QVERIFY(lines.at(1).startsWith("S-1,"));
        QVERIFY(lines.at(2).startsWith("S-2,"));
        QVERIFY(lines.at(2).endsWith(secondActuals.join(',').toLatin1() + "\r"));

        // Part 2's measurement report holds every characteristic with its result, and the summary.
        const QString reportFile = m_work.filePath(QStringLiteral("part2.pdf"));
        m_dialogs.FileNames = {reportFile};
        Find<QPushButton>(form, "btnReport")->click();
        QCOMPARE(m_dialogs.Errors, QStringList());
        const QString report = PdfText(reportFile);
        QVERIFY2(report.contains(QStringLiteral("NOK (4 characteristics, 3 OK, 1 NOK)")), qPrintable(report));
        for (int row = 1; row <= 4; ++row) {
            QStringList cells;
            for (const QString &cell : characteristics.RowTexts(row))
                if (!cell.isEmpty())
                    cells << QRegularExpression::escape(cell);
            const QString line = cells.join(QStringLiteral(" +"));
            QVERIFY2(report.contains(QRegularExpression(line)),
                     qPrintable(line + QStringLiteral(" in:\n") + report));
        }

        // The batch report: both parts, part 2 out on its bore.
        Find<QPushButton>(form, "btnBatchReport")->click();
        QCOMPARE(m_dialogs.Errors, QStringList());
        const QString batch = PdfText(m_work.filePath(QStringLiteral("Data/Bracket.batch-report.pdf")));
        for (const QString &expected :
             {QStringLiteral("2 parts, 1 OK, 1 NOK"), QStringLiteral("C1 Diameter 20.000 +0.015/-0.010"),
              QStringLiteral("n 2, mean 20.0100, s 0.0141, min 20.000, max 20.020")})
            QVERIFY2(batch.contains(expected), qPrintable(expected + QStringLiteral(" in:\n") + batch));
        QVERIFY2(batch.contains(QRegularExpression(QStringLiteral("2 +S-2 +\\S+ \\S+ +20.020 +NOK"))),
                 qPrintable(batch));
    }
};

QTEST_MAIN(TQualityEndToEndTest)
#include "quality_e2e_test.moc"
