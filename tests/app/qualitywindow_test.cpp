// The characteristics of the features window, the Report button and Next part, driven through their
// controls by objectName.
#include "app/qintarform.h"
#include "app/runchart.h"
#include "app/stationquality.h"
#include "pdftext.h"
#include "register/featureregister.h"
#include "stationundertest.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const QStringList kCircleRow{"C1",       "Circle",   "1-8",      "25.030", "9.960", "0.000",
                             "0.000000", "0.000000", "1.000000", "20.013", "0.004", ""};

TTextTable *Features(TQintarForm &form)
{
    return &const_cast<TFeatureRegister &>(form.FeatureRegister()).Table();
}

TTextTable *Characteristics(TQintarForm &form)
{
    return &form.Inspection()->Characteristics().Table();
}

// Selects the feature row and adds a characteristic as the operator types it.
void AddCharacteristic(TQintarForm &form, int featureRow, const QString &what, const QString &nominal,
                       const QString &upper, const QString &lower)
{
    Find<QTableView>(form, "sgFeatures")->selectRow(featureRow - 1);
    auto *kinds = Find<QComboBox>(form, "cbCharacteristic");
    kinds->setCurrentIndex(kinds->findText(what));
    Find<QLineEdit>(form, "edNominal")->setText(nominal);
    Find<QLineEdit>(form, "edUpper")->setText(upper);
    Find<QLineEdit>(form, "edLower")->setText(lower);
    Find<QPushButton>(form, "btnAddCharacteristic")->click();
}

QColor Background(TQintarForm &form, int row)
{
    auto *table = Find<QTableView>(form, "sgCharacteristics");
    return table->model()->index(row - 1, 0).data(Qt::BackgroundRole).value<QColor>();
}

// A label's text with its no-break spaces as plain ones.
QString Plain(const QLabel *label)
{
    return label->text().replace(QChar::Nbsp, QLatin1Char(' '));
}

} // namespace

class TInspectionWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void CharacteristicsFollowTheFeatureAndShowTheirResult()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *report = Find<QPushButton>(form, "btnReport");
        QCOMPARE(report->geometry(), QRect(92, 107, 80, 21));
        QCOMPARE(report->text(), QStringLiteral("Report"));

        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, "Diameter", "20", "0.02", "-0.01");
        AddCharacteristic(form, 1, "True position", "25 10", "0.1", "");
        QCOMPARE(station->dialogs.Messages, QStringList());
        QCOMPARE(Characteristics(form)->RowTexts(1),
                 QStringList({"C1", "Diameter", "20.000", "0.020", "-0.010", "20.013", "0.013", "OK"}));
        QCOMPARE(Characteristics(form)->RowTexts(2),
                 QStringList({"C1", "True position", "25.000 10.000", "0.100", "", "0.100", "0.100", "OK"}));
        QCOMPARE(Find<QLabel>(form, "stCharacteristicsSummary")->text(),
                 QStringLiteral("2 characteristics, 2 OK, 0 NOK"));
        QVERIFY(Background(form, 1).green() > Background(form, 1).red());

        // The bore measured again, larger: judged as soon as its row has changed.
        Features(form)->SetCell(TFeatureRegister::ColSize, 1, QStringLiteral("20.031"));
        QTRY_COMPARE(Characteristics(form)->Cell(TCharacteristicRegister::ColResult, 1),
                     QStringLiteral("NOK"));
        QVERIFY(Background(form, 1).red() > Background(form, 1).green());
        QCOMPARE(Find<QLabel>(form, "stCharacteristicsSummary")->text(),
                 QStringLiteral("2 characteristics, 1 OK, 1 NOK"));
    }

    void TypedTextThatDoesNotReadIsToldAndAddsNothing_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("nominal");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("told");
        QTest::newRow("nominal") << "Diameter"
                                 << "20,0x"
                                 << "0.02"
                                 << "0"
                                 << "is not a number";
        QTest::newRow("no lower") << "Diameter"
                                  << "20"
                                  << "0.02"
                                  << ""
                                  << "a lower limit at the nominal is 0";
        QTest::newRow("crossed") << "Diameter"
                                 << "20"
                                 << "-0.02"
                                 << "0.01"
                                 << "below the lower";
        QTest::newRow("one nominal for a position") << "True position"
                                                    << "25"
                                                    << "0.1"
                                                    << ""
                                                    << "two numbers";
    }

    void TypedTextThatDoesNotReadIsToldAndAddsNothing()
    {
        QFETCH(QString, what);
        QFETCH(QString, nominal);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QFETCH(QString, told);
        auto station = Start();
        TQintarForm &form = *station->form;
        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, what, nominal, upper, lower);
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages.first().contains(told),
                 qPrintable(station->dialogs.Messages.first()));
        QVERIFY(Characteristics(form)->IsRowFree(1));
    }

    void TheReportHoldsEveryCharacteristicAndTheSummary()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, "Diameter", "20", "0.02", "-0.01");
        AddCharacteristic(form, 1, "Roundness", "", "0.003", "");
        AddCharacteristic(form, 1, "Position X", "25", "0.05", "-0.05");
        AddCharacteristic(form, 1, "True position", "25 10", "0.1", "");
        Find<QLineEdit>(form, "edPartName")->setText(QStringLiteral("Bracket"));
        Find<QLineEdit>(form, "edPartSerial")->setText(QStringLiteral("S-0001"));
        Find<QLineEdit>(form, "edOperator")->setText(QStringLiteral("A. Inspector"));
        QTest::keyClicks(Find<QLineEdit>(form, "edOperator"), QStringLiteral("!"));
        const QString file = station->folder.filePath(QStringLiteral("report.pdf"));
        station->dialogs.FileNames = {file};
        Find<QPushButton>(form, "btnReport")->click();
        QCOMPARE(station->dialogs.Errors, QStringList());
        const QString text = PdfText(file);
        for (const QString &expected :
             {QStringLiteral("Result:"), QStringLiteral("NOK (4 characteristics, 3 OK, 1 NOK)"),
              QStringLiteral("Bracket"), QStringLiteral("S-0001"), QStringLiteral("A. Inspector!")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in:\n") + text));
        for (const QString &row :
             {QStringLiteral("C1 +Diameter +20.000 +0.020 +-0.010 +20.013 +0.013 +OK"),
              QStringLiteral("C1 +Roundness +0.000 +0.003 +0.004 +0.004 +NOK"),
              QStringLiteral("C1 +Position X +25.000 +0.050 +-0.050 +25.030 +0.030 +OK"),
              // Two numbers in one nominal cell.
              QStringLiteral("C1 +True position +25.000 10.000 +0.100 +0.100 +0.100 +OK")})
            QVERIFY2(text.contains(QRegularExpression(row)),
                     qPrintable(row + QStringLiteral(" in:\n") + text));
    }

    void CharacteristicsAndThePartComeBackWithTheProject()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, "Diameter", "20", "0.02", "-0.01");
        QTest::keyClicks(Find<QLineEdit>(form, "edPartSerial"), QStringLiteral("S-7"));
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        Find<QPushButton>(form, "btnSaveAll")->click();
        const QStringList saved = Characteristics(form)->RowTexts(1);

        station->dialogs.Answers = {true};
        Find<QPushButton>(form, "btnNew")->click();
        QVERIFY(Characteristics(form)->IsRowFree(1));
        QVERIFY(Find<QLineEdit>(form, "edPartSerial")->text().isEmpty());
        station->dialogs.FileNames = {station->folder.filePath(QStringLiteral("Data/Bracket.prj"))};
        Find<QPushButton>(form, "btnLoadAll")->click();
        QCOMPARE(Characteristics(form)->RowTexts(1), saved);
        QCOMPARE(Find<QLineEdit>(form, "edPartSerial")->text(), QStringLiteral("S-7"));
    }

    void NextPartKeepsThePartAndGuidesTheNextOne()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, "Diameter", "20", "0.02", "-0.01");
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        auto *next = Find<QPushButton>(form, "btnNextPart");
        auto *serial = Find<QLineEdit>(form, "edPartSerial");
        next->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY(station->dialogs.Messages.first().contains(QStringLiteral("serial number")));

        // Part 1 is kept under its serial number, after the unsaved-work question; the point table is
        // emptied and the guide names the first feature, selected so that the views highlight it.
        QTest::keyClicks(serial, QStringLiteral("S-1"));
        station->dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::No};
        station->dialogs.Answers = {false, false};
        next->click();
        QCOMPARE(station->dialogs.Errors, QStringList());
        QCOMPARE(form.Inspection()->History().Parts().size(), 1);
        QCOMPARE(form.Inspection()->History().Parts().at(0).serialNumber, QStringLiteral("S-1"));
        QCOMPARE(form.Inspection()->History().Parts().at(0).actuals, QStringList("20.013"));
        QVERIFY(Table(form, "sgData")->IsRowFree(1));
        QVERIFY(serial->text().isEmpty());
        QCOMPARE(Find<QLabel>(form, "stGuide")->text(), QStringLiteral("C1 Circle: point 1 of 8"));
        QCOMPARE(Find<QTableView>(form, "sgFeatures")->selectionModel()->selectedRows().value(0).row(), 0);
        QCOMPARE(Characteristics(form)->Cell(TCharacteristicRegister::ColResult, 1),
                 QStringLiteral("missing"));

        // Part 2: its bore skipped, the plan is done and the part joins the history.
        QTest::keyClicks(serial, QStringLiteral("S-2"));
        Find<QPushButton>(form, "btnSkipFeature")->click();
        QVERIFY(Find<QLabel>(form, "stGuide")->text().startsWith(QStringLiteral("Plan done")));
        QCOMPARE(form.Inspection()->History().Parts().size(), 2);
        QCOMPARE(form.Inspection()->History().Parts().at(1).actuals, QStringList(""));
        QFile file(station->folder.filePath(QStringLiteral("Data/Bracket.results.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 3);

        // The same serial number again is not the next part.
        const qsizetype told = station->dialogs.Messages.size();
        next->click();
        QCOMPARE(station->dialogs.Messages.size(), told + 1);
        QVERIFY(station->dialogs.Messages.last().contains(QStringLiteral("in the history already")));
    }

    // The run chart and the statistics of the characteristic selected, over the history read with the
    // project and each part kept by Next part; the batch report from the same history.
    void StatisticsFollowTheSelectedCharacteristicAndTheHistory()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Features(form)->SetRowTexts(1, kCircleRow);
        AddCharacteristic(form, 1, "Diameter", "20", "0.02", "-0.01");
        AddCharacteristic(form, 1, "True position", "25 10", "0.1", "");
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        QTest::keyClicks(Find<QLineEdit>(form, "edPartName"), QStringLiteral("Bracket, milled"));
        Find<QPushButton>(form, "btnSaveAll")->click();
        auto *statistics = Find<QLabel>(form, "stBatchStatistics");
        auto *chart = form.findChild<TRunChart *>(QStringLiteral("pnRunChart"));
        QVERIFY(chart);

        // An empty history has no batch to report.
        Find<QPushButton>(form, "btnBatchReport")->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages.first().contains(QStringLiteral("no part")),
                 qPrintable(station->dialogs.Messages.first()));
        const QString report = station->folder.filePath(QStringLiteral("Data/Bracket.batch-report.pdf"));
        QVERIFY(!QFile::exists(report));
        station->dialogs.Messages.clear();

        // Three parts measured before, read with the project.
        QFile history(station->folder.filePath(QStringLiteral("Data/Bracket.results.csv")));
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write("Serial number,Date and time,Operator,C1 Diameter 20.000 +0.020/-0.010,"
                      "C1 True position 25.000 10.000 +0.100\r\n"
                      "S-1,2026-12-10 09:00:00,Ann,20.008,0.040\r\n"
                      "S-2,2026-12-10 09:10:00,Ann,20.012,0.120\r\n"
                      "S-3,2026-12-10 09:20:00,Ann,19.989,0.080\r\n");
        history.close();
        station->dialogs.FileNames = {station->folder.filePath(QStringLiteral("Data/Bracket.prj"))};
        Find<QPushButton>(form, "btnLoadAll")->click();
        QCOMPARE(station->dialogs.Messages, QStringList());
        auto *table = Find<QTableView>(form, "sgCharacteristics");
        table->clearSelection();
        QVERIFY(chart->Series().title.isEmpty());
        QVERIFY2(Plain(statistics).contains(QStringLiteral("3 parts")), qPrintable(Plain(statistics)));
        table->selectRow(0);
        QCOMPARE(Plain(statistics),
                 QStringLiteral("C1 Diameter:\nn 3, mean 20.0030, s 0.0123, min 19.989, max "
                                "20.012\nCp 0.41 Cpk 0.35 (unreliable: 3 parts)"));
        QCOMPARE(chart->Series().title, QStringLiteral("C1 Diameter 20.000 +0.020/-0.010"));
        QCOMPARE(chart->Series().values, (QList<std::optional<double>>{20.008, 20.012, 19.989}));
        QCOMPARE(chart->Series().upperLimit, 20.02);
        QCOMPARE(chart->Series().lowerLimit, std::optional<double>(19.99));

        // The part in hand joins the history with Next part, and the chart.
        QTest::keyClicks(Find<QLineEdit>(form, "edPartSerial"), QStringLiteral("S-4"));
        station->dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::No};
        station->dialogs.Answers = {false, false};
        Find<QPushButton>(form, "btnNextPart")->click();
        QCOMPARE(station->dialogs.Errors, QStringList());
        QCOMPARE(chart->Series().values, (QList<std::optional<double>>{20.008, 20.012, 19.989, 20.013}));
        QVERIFY2(Plain(statistics).contains(QStringLiteral("n 4, mean 20.0055")),
                 qPrintable(Plain(statistics)));

        // The true position's zone is about zero, with no lower limit.
        table->selectRow(1);
        QCOMPARE(chart->Series().values, (QList<std::optional<double>>{0.04, 0.12, 0.08, 0.1}));
        QCOMPARE(chart->Series().nominal, 0.0);
        QCOMPARE(chart->Series().lowerLimit, std::nullopt);
        QVERIFY2(Plain(statistics).contains(QStringLiteral("(upper limit only; unreliable: 4 parts)")),
                 qPrintable(Plain(statistics)));

        Find<QPushButton>(form, "btnBatchReport")->click();
        QCOMPARE(station->dialogs.Errors, QStringList());
        QCOMPARE(station->dialogs.Messages, QStringList());
        QVERIFY(QFile::exists(report));
        const QString text = PdfText(report);
        for (const QString &expected :
             {QStringLiteral("Bracket, milled"), QStringLiteral("4 parts, 2 OK, 2 NOK"),
              QStringLiteral("C1 Diameter 20.000 +0.020/-0.010"),
              QStringLiteral("C1 True position 25.000 10.000 +0.100"), QStringLiteral("n 4, mean 20.0055")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in:\n") + text));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("4 +S-4 +\\S+ \\S+ +20.013 +OK"))),
                 qPrintable(text));

        // The same from the table's context menu, or Ctrl+B.
        QVERIFY(QFile::remove(report));
        QAction *menuEntry = table->findChild<QAction *>(QStringLiteral("actBatchReport"));
        QVERIFY(menuEntry && table->actions().contains(menuEntry));
        QCOMPARE(table->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(menuEntry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
        menuEntry->trigger();
        QVERIFY(QFile::exists(report));

        // Under another project name the parts in hand are not its history.
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket 2"));
        Find<QPushButton>(form, "btnBatchReport")->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages.first().contains(QStringLiteral("Bracket 2 holds no part")),
                 qPrintable(station->dialogs.Messages.first()));
        QVERIFY(!QFile::exists(station->folder.filePath(QStringLiteral("Data/Bracket 2.batch-report.pdf"))));
    }
};

QTEST_MAIN(TInspectionWindowTest)
#include "qualitywindow_test.moc"
