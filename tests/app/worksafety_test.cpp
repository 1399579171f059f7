// The window guards the operator's work: saves that would replace other work ask first, names that
// other systems refuse are refused, Zero asks, and a deleted point's mark reads as deleted.
#include "app/qintarform.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/texttable.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

const QByteArray ForeignProject =
    "[General]\r\nProject Name = bracket A\r\nFiled on 2024Mar05_142301\r\n"
    "[Coordinates]\r\nPoint, X, Y, Z\r\n1,1.000,2.000,3.000\r\n2,4.000,5.000,6.000\r\n"
    "[Distances]\r\nPt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR\r\n[Angles]\r\n"
    "Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ\r\n[End]\r\n";

QString DataFile(TStation &station, const QString &name)
{
    return QDir(station.folder.filePath(QStringLiteral("Data"))).filePath(name);
}

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// Three points loaded from a coordinates file: rows and marks, as recorded ones have.
void LoadThreePoints(TStation &station)
{
    const QString file = station.folder.filePath(QStringLiteral("points.txt"));
    Write(file, "1,1.000,2.000,3.000\r\n2,10.000,20.000,30.000\r\n3,-5.000,4.000,0.000\r\n");
    station.dialogs.FileNames = {file};
    Find<QTableView>(*station.form, "sgData")
        ->findChild<QAction *>(QStringLiteral("sgDataLoadFromFile"))
        ->trigger();
}

} // namespace

class TWorkSafetyTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void SaveAsksBeforeReplacingWorkItDidNotWrite_data()
    {
        QTest::addColumn<bool>("loadFirst");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        const QString foreign = QStringLiteral(
            "A project named bracket A already exists (2 points, filed on 2024Mar05_142301). Replace it?");
        const QString emptying =
            QStringLiteral("Replace bracket A, which holds 2 points, with an empty project?");
        QTest::newRow("new project named like another, No") << false << false << foreign;
        QTest::newRow("new project named like another, Yes") << false << true << foreign;
        QTest::newRow("loaded, cleared and saved, No") << true << false << emptying;
        QTest::newRow("loaded, cleared and saved, Yes") << true << true << emptying;
    }

    void SaveAsksBeforeReplacingWorkItDidNotWrite()
    {
        QFETCH(bool, loadFirst);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        auto station = Start();
        TQintarForm &form = *station->form;
        const QString file = DataFile(*station, QStringLiteral("bracket A.prj"));
        Write(file, ForeignProject);
        if (loadFirst) {
            station->dialogs.FileNames = {file};
            Find<QPushButton>(form, "btnLoadAll")->click();
            QCOMPARE(form.PointCount(), 2);
            Find<QPushButton>(form, "btnClear")->click();
        } else {
            Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("bracket A"));
            PutPoint(form);
        }
        station->dialogs.Answers = {answer};
        Find<QPushButton>(form, "btnSaveAll")->click();
        QCOMPARE(station->dialogs.Questions, QStringList(question));
        if (answer) {
            QVERIFY(ReadAll(file) != ForeignProject);
            return;
        }
        QCOMPARE(ReadAll(file), ForeignProject);
        const QString status = Find<QLabel>(form, "stLinkStatus")->text();
        QVERIFY2(status.startsWith(QStringLiteral("Not saved: ")) &&
                     status.contains(QStringLiteral("bracket A.prj")),
                 qPrintable(status));
    }

    // What this run wrote it replaces without a word, as before; closing with "Save current data?"
    // answered Yes and the replacement declined keeps the window open and says nothing was saved.
    void OwnFileIsReplacedSilentlyAndADeclinedReplaceKeepsTheWindowOpen()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("mine"));
        PutPoint(form);
        Find<QPushButton>(form, "btnSaveAll")->click();
        Find<QPushButton>(form, "btnSaveAll")->click();
        QVERIFY(station->dialogs.Questions.isEmpty());

        Write(DataFile(*station, QStringLiteral("bracket A.prj")), ForeignProject);
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("bracket A"));
        Table(form, "sgData")->SetCell(1, 1, QStringLiteral("9.000"));
        station->dialogs.Answers = {true, false};
        form.show();
        QVERIFY(!form.close());
        QCOMPARE(station->dialogs.Questions.size(), 2);
        QVERIFY(station->dialogs.Messages.isEmpty());
        QCOMPARE(ReadAll(DataFile(*station, QStringLiteral("bracket A.prj"))), ForeignProject);
    }

    void RefusedNamesSayWhyAndTheNameBoxTakesTheFocus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("colon") << "part:1"
                               << "the character \":\"";
        QTest::newRow("pipe") << "a|b"
                              << "the character \"|\"";
        QTest::newRow("leading dot") << ".plan"
                                     << "hidden file";
        QTest::newRow("no name") << "   "
                                 << "Please enter a project name";
    }

    void RefusedNamesSayWhyAndTheNameBoxTakesTheFocus()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        auto station = Start();
        TQintarForm &form = *station->form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *edit = Find<QLineEdit>(form, "edProjectName");
        edit->setText(name);
        PutPoint(form);
        Find<QPushButton>(form, "btnSaveAll")->setFocus();
        Find<QPushButton>(form, "btnSaveAll")->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages[0].contains(reason), qPrintable(station->dialogs.Messages[0]));
        QCOMPARE(form.focusWidget(), edit);
        QCOMPARE(QDir(station->folder.filePath(QStringLiteral("Data"))).entryList(QDir::Files),
                 QStringList());
    }

    void NewLeavesTheFocusInTheNameBox()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Find<QPushButton>(form, "btnNew")->setFocus();
        Find<QPushButton>(form, "btnNew")->click();
        QCOMPARE(station->dialogs.Messages, QStringList("Please enter a project name"));
        QCOMPARE(form.focusWidget(), Find<QLineEdit>(form, "edProjectName"));
    }

    void ZeroAsksOnlyWhenPointsAreRecorded()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Find<QPushButton>(form, "btnZero")->click();
        QVERIFY(station->dialogs.Questions.isEmpty());
        QCOMPARE(form.NextCommand(), QStringLiteral("BZ00"));
    }

    // The deleted point's mark stays where it was, hollow and grey, says "deleted" in its tooltip and
    // is left out of a report's picture; a pick on it finds no point.
    void DeletedPointsMarkIsHollowAndLeftOutOfReports()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        LoadThreePoints(*station);
        auto *engine = form.findChild<TViewEngine *>();
        QCOMPARE(engine->SeriesCount(1), 3);
        TViewWidget *view = engine->Chart(1);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage before = view->grab().toImage();

        Find<QAbstractButton>(form, "sbDelete")->click();
        station->dialogs.Answers = {true};
        auto *table = Find<QTableView>(form, "sgData");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(Table(form, "sgData")->index(1, 1)).center());
        QCOMPARE(Table(form, "sgData")->RowTexts(2), QStringList({"3", "-5.000", "4.000", "0.000"}));
        for (int series = 1; series <= 4; ++series) {
            QCOMPARE(engine->SeriesCount(series), 3);
            QVERIFY(engine->IsMarkDeleted(series, 1));
            QVERIFY(!engine->IsMarkDeleted(series, 0) && !engine->IsMarkDeleted(series, 2));
        }

        const QPointF mark = *engine->MarkPosition(1, 1);
        const QImage shown = view->grab().toImage();
        view->SetDeletedShown(false);
        const QImage report = view->grab().toImage();
        view->SetDeletedShown(true);
        // Only the place of the deleted mark changes, and the mark there is an outline: its centre
        // shows the background again.
        int changed = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != before.pixel(x, y)) {
                    ++changed;
                    QVERIFY2(QLineF(QPointF(x, y), mark).length() <= 8.0,
                             qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                }
        QVERIFY(changed > 0);
        QCOMPARE(shown.pixelColor(mark.toPoint()), report.pixelColor(mark.toPoint()));
        int grey = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != report.pixel(x, y)) {
                    const QColor c = shown.pixelColor(x, y);
                    grey += std::abs(c.red() - c.green()) < 20 && std::abs(c.green() - c.blue()) < 20 ? 1 : 0;
                }
        QVERIFY(grey > 0);

        QHelpEvent tip(QEvent::ToolTip, mark.toPoint(), view->mapToGlobal(mark.toPoint()));
        QCoreApplication::sendEvent(view, &tip);
        QVERIFY2(QToolTip::text().contains(QStringLiteral("deleted")), qPrintable(QToolTip::text()));

        station->dialogs.Messages.clear();
        Find<QAbstractButton>(form, "sbDelete")->click();
        QTest::mouseClick(view, Qt::LeftButton, {}, mark.toPoint());
        QCOMPARE(station->dialogs.Messages,
                 QStringList("No point fits these values\rPoint probably deleted"));
    }
};

QTEST_MAIN(TWorkSafetyTest)
#include "worksafety_test.moc"
