#include "app/projectname.h"
#include "app/qintarform.h"
#include "app/togglegroup.h"
#include "devicelink/portmanagerpanel.h"
#include "register/texttable.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

QString CaptionOf(const QWidget *widget)
{
    if (auto *group = qobject_cast<const QGroupBox *>(widget))
        return group->title();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    return {};
}

} // namespace

class TQintarFormTest : public QObject
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

    void ControlsAtTheirDesignedPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("caption");
        auto row = [](const char *name, QRect place, const QString &caption) {
            QTest::newRow(name) << QString::fromLatin1(name) << place << caption;
        };
        row("gbProject", {11, 2, 249, 51}, "Project");
        row("gbProjectName", {269, 2, 343, 51}, "Project Name");
        row("gbMode", {618, 2, 343, 51}, "Mode");
        row("gbGraphView", {3, 55, 257, 51}, "Graph View");
        row("gbActualPosition", {268, 55, 344, 51}, "Actual Position (mm)");
        row("gbSetPosition", {268, 55, 344, 51}, "Go-to Position (mm)");
        row("gbJoystickPrecision", {618, 55, 114, 114}, "Joystick ");
        row("pnLogo", {733, 58, 116, 110}, {});
        row("Image1", {742, 66, 98, 94}, {});
        row("gbOperation", {855, 55, 106, 114}, "Operation");
        row("gbMeasuredData", {616, 176, 345, 489}, "Measured Coordinates (mm)");
        row("gbInferredDistances", {616, 459, 345, 211}, "Inferred Distances (mm)");
        row("gbinferredAngles", {615, 459, 345, 211}, "Inferred Angles (degrees)");
        row("gbSaveToFile", {194, 298, 250, 51}, "Save to File");
        row("gbLoad", {191, 354, 254, 51}, "Load from file");
        row("Chart1", {8, 130, 600, 540}, {});
        row("Chart4", {8, 130, 600, 540}, {});
        row("gbCalibration", {976, 2, 233, 599}, "Maintenance Settings");
        row("edPassword", {1032, 627, 121, 21}, {});
        row("btnSave", {425, 20, 75, 25}, "Save");
        row("USB", {8, 2000, 220, 180}, {});
        // At start-up the strip says how to begin.
        row("stLinkStatus", {8, 672, 952, 20}, QStringLiteral("Press On Line to poll the device on COM99"));
        row("btnNew", {19, 20, 75, 25}, "New");
        row("btnLoadAll", {99, 20, 75, 25}, "Load");
        row("btnSaveAll", {179, 20, 75, 25}, "Save");
        row("edProjectName", {277, 22, 327, 21}, {});
        row("sbOnLine", {626, 20, 100, 25}, "On Line");
        row("sbMeasure", {734, 20, 100, 25}, "Measure Point");
        row("btnGoToPosition", {842, 20, 110, 25}, "Go To Position");
        row("sbXYView", {9, 73, 38, 25}, "X-Y");
        row("sbXZView", {49, 73, 38, 25}, "X-Z");
        row("sbYZView", {89, 73, 38, 25}, "Y-Z");
        row("sb3DView", {129, 73, 38, 25}, "3D");
        row("btnClear", {173, 73, 40, 25}, "Clear");
        row("btnZero", {215, 73, 40, 25}, "Zero");
        row("lbReadX", {276, 80, 0, 0}, "X= ");
        row("stReadX", {298, 74, 84, 24}, "0.000");
        row("lbReadY", {388, 80, 0, 0}, "Y= ");
        row("stReadY", {410, 74, 84, 24}, "0.000");
        row("lbReadZ", {500, 80, 0, 0}, "Z= ");
        row("stReadZ", {522, 74, 84, 24}, "0.000");
        row("lbGoToX", {276, 80, 0, 0}, "X= ");
        row("stGoToX", {298, 74, 84, 24}, "0.000");
        row("lbGoToY", {388, 80, 0, 0}, "Y= ");
        row("stGoToY", {410, 74, 84, 24}, "0.000");
        row("lbGoToZ", {500, 80, 0, 0}, "Z= ");
        row("stGoToZ", {522, 74, 84, 24}, "0.000");
        row("sbCoarse", {630, 79, 90, 32}, "Coarse");
        row("sbFine", {630, 121, 90, 32}, "Fine");
        row("sbDistance", {863, 75, 90, 27}, "Distance");
        row("sbAngle", {863, 106, 90, 27}, "Angle");
        row("sbDelete", {863, 137, 90, 27}, "Delete Point");
        row("sgData", {624, 194, 329, 465}, {});
        row("sgDistance", {624, 477, 329, 185}, {});
        row("sgAngles", {623, 477, 329, 185}, {});
        row("btnSaveCoordinates", {202, 316, 75, 25}, "Coordinates");
        row("btnSaveDistances", {282, 316, 75, 25}, "Distances");
        row("btnSaveAngles", {362, 316, 75, 25}, "Angles");
        row("Button1", {608, 316, 75, 25}, "Save");
        row("btnLoadCoordinates", {199, 372, 75, 25}, "Coordinates");
        row("btnLoadDistances", {279, 372, 75, 25}, "Distances");
        row("btnLoadAngles", {359, 372, 75, 25}, "Angles");
        row("Button3", {605, 372, 75, 25}, "Save");
        row("gbCalibrationParameters", {984, 20, 217, 232}, "Calibration Parameters");
        row("lbalphax", {992, 44, 0, 0}, "alpha x");
        row("editalphax", {1044, 40, 84, 21}, "1.000");
        row("btnSaveAlphaX", {1134, 39, 58, 23}, "Save");
        row("lbalphay", {992, 72, 0, 0}, "alpha y");
        row("editalphay", {1044, 68, 84, 21}, "1.000");
        row("btnSaveAlphaY", {1134, 67, 58, 23}, "Save");
        row("lbalphaz", {992, 100, 0, 0}, "alpha z");
        row("editalphaz", {1044, 96, 84, 21}, "1.000");
        row("btnSaveAlphaZ", {1134, 95, 58, 23}, "Save");
        row("lbthetax", {992, 128, 0, 0}, "theta x");
        row("editthetax", {1044, 124, 84, 21}, "0.000");
        row("btnSaveThetaX", {1134, 123, 58, 23}, "Save");
        row("lbthetay", {992, 156, 0, 0}, "theta y");
        row("editthetay", {1044, 152, 84, 21}, "0.000");
        row("btnSaveThetaY", {1134, 151, 58, 23}, "Save");
        row("lbthetaz", {992, 184, 0, 0}, "theta z");
        row("editthetaz", {1044, 180, 84, 21}, "0.000");
        row("btnSaveThetaZ", {1134, 179, 58, 23}, "Save");
        row("btnApplyCalibrationParameters", {992, 216, 200, 26}, "Apply");
        row("gbDataDisplay", {984, 258, 217, 150}, "Measured Coordinates are...");
        row("sbCalibrated", {992, 278, 96, 27}, "Calibrated");
        row("sbUseRawValues", {1096, 278, 96, 27}, "Raw");
        row("lbRawWarning", {992, 312, 200, 88},
            "Warning: use raw data to determine calibration parameters: use calibrated data for normal use.");
        row("sbOffLineCalibrationTest", {984, 416, 217, 30}, "Off Line Calibration Test");
        row("gbSelectAxis", {984, 454, 217, 138}, "Select Axis");
        row("sbLockX", {992, 474, 200, 32}, "X only");
        row("sbLockY", {992, 512, 200, 32}, "Y only");
        row("sbLockZ", {992, 550, 200, 32}, "Z only");
        row("Label14", {986, 609, 0, 0}, "Enter password to access maintenance settings");
        row("Label15", {1002, 650, 0, 0}, "Enter invalid password to make secure");
    }

    void ControlsAtTheirDesignedPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, caption);
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *widget = form.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        const QRect actual(widget->mapTo(&form, QPoint(0, 0)), widget->size());
        // An empty size marks a label placed by its corner and sized to its text in the window's font.
        if (place.size().isNull())
            QCOMPARE(actual, QRect(place.topLeft(), widget->sizeHint()));
        else
            QCOMPARE(actual, place);
        QCOMPARE(CaptionOf(widget), caption);
    }

    void WindowStartsAsDesigned()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        QCOMPARE(form.windowTitle(), QStringLiteral("QintarSoft Revision 1.00"));
        QCOMPARE(form.size(), QSize(968, 695));
        QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 251, 240));
        QCOMPARE(form.palette().color(QPalette::WindowText), QColor(0, 0, 160));
        QVERIFY(Find<QAbstractButton>(form, "sbMeasure")->isChecked());
        QVERIFY(Find<QAbstractButton>(form, "sbXYView")->isChecked());
        QVERIFY(Find<QAbstractButton>(form, "sbFine")->isChecked());
        QVERIFY(Find<QAbstractButton>(form, "sbCalibrated")->isChecked());
        QVERIFY(!Find<QWidget>(form, "gbCalibration")->isEnabled());
        QVERIFY(!Find<QWidget>(form, "btnGoToPosition")->isEnabled());
        QCOMPARE(Find<QLineEdit>(form, "edPassword")->echoMode(), QLineEdit::Password);
        QCOMPARE(form.NextCommand(), QStringLiteral("BR00"));
        for (const char *name : {"btnSaveAlphaX", "btnSaveAlphaY", "btnSaveAlphaZ", "btnSaveThetaX",
                                 "btnSaveThetaY", "btnSaveThetaZ"})
            QVERIFY2(!Find<QWidget>(form, name)->isEnabled(), name);
        QCOMPARE(Find<QTableView>(form, "sgData")->verticalHeader()->defaultSectionSize(), 15);
    }

    void StartUpCreatesTheDataFolderAndHeaders()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        QVERIFY(QFileInfo(station->folder.filePath(QStringLiteral("Data"))).isDir());
        QCOMPARE(form.DataDirectory(),
                 QDir::toNativeSeparators(station->folder.path() + QStringLiteral("/Data")));
        QVERIFY(station->dialogs.Errors.isEmpty());
        TPortManagerRS232 &usb = Find<TPortManagerPanel>(form, "USB")->Engine();
        // The port number comes from the settings file (none here: its fallback); the header texts
        // themselves are the register's and tested there.
        QCOMPARE(usb.PortNumber(), quint16(99));
        QVERIFY(!usb.PortOpen());
        // The command line's port replaces it for this run.
        form.UsePortNumber(7);
        QCOMPARE(usb.PortNumber(), quint16(7));
        QCOMPARE(Table(form, "sgData")->Cell(0, 0), QStringLiteral("Pt"));
        QCOMPARE(Table(form, "sgAngles")->Cell(6, 0), QStringLiteral("thetaYZ"));
    }

    void UnmakeableDataFolderSkipsTheRestOfStartUp()
    {
        auto station = Start(/*blockDataFolder=*/true);
        TQintarForm &form = *station->form;
        QCOMPARE(station->dialogs.Errors,
                 QStringList(QStringLiteral("Cannot create ") +
                             QDir::toNativeSeparators(station->folder.path() + QStringLiteral("/Data"))));
        QVERIFY(Table(form, "sgData")->Cell(0, 0).isEmpty());
        // The port manager keeps its designed port.
        QCOMPARE(Find<TPortManagerPanel>(form, "USB")->Engine().PortNumber(), quint16(5));
        QVERIFY(form.isEnabled());
    }

    void ClosingDialogue_data()
    {
        QTest::addColumn<bool>("withData");
        QTest::addColumn<bool>("savedSince");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("closed");
        QTest::newRow("empty table, Yes")
            << false << false << QList<bool>{true} << QStringList{"Are you sure?"} << true;
        QTest::newRow("empty table, No")
            << false << false << QList<bool>{false} << QStringList{"Are you sure?"} << false;
        QTest::newRow("data, save") << true << false << QList<bool>{true} << QStringList{"Save current data?"}
                                    << false;
        QTest::newRow("data, No then Yes") << true << false << QList<bool>{false, true}
                                           << QStringList{"Save current data?", "Are you sure?"} << true;
        QTest::newRow("data, No then No") << true << false << QList<bool>{false, false}
                                          << QStringList{"Save current data?", "Are you sure?"} << false;
        QTest::newRow("data saved, nothing changed since")
            << true << true << QList<bool>{true} << QStringList{"Are you sure?"} << true;
    }

    void ClosingDialogue()
    {
        QFETCH(bool, withData);
        QFETCH(bool, savedSince);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, questions);
        QFETCH(bool, closed);
        auto station = Start();
        TQintarForm &form = *station->form;
        if (withData)
            PutPoint(form);
        if (savedSince) {
            Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
            Find<QPushButton>(form, "btnSaveAll")->click();
        }
        for (bool answer : answers)
            station->dialogs.Answers.push_back(answer);
        form.show();
        QCOMPARE(form.close(), closed);
        QCOMPARE(station->dialogs.Questions, questions);
        for (TOperatorDialogs::TStyle style : station->dialogs.QuestionStyles)
            QCOMPARE(style, TOperatorDialogs::TStyle::Information);
        QCOMPARE(form.ShuttingDown(), closed);
        QCOMPARE(form.findChild<QTimer *>(QStringLiteral("tShutdown"))->isActive(), closed);
    }

    void SavingOnCloseKeepsAskingUntilTheOperatorLeaves()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        form.show();
        station->dialogs.Answers = {true};
        QVERIFY(!form.close());
        station->dialogs.Answers = {false, true};
        QVERIFY(form.close());
        QCOMPARE(station->dialogs.Questions,
                 QStringList({"Save current data?", "Save current data?", "Are you sure?"}));
        // Once shutting down, the window closes without a further question.
        form.show();
        QVERIFY(form.close());
        QCOMPARE(station->dialogs.Questions.size(), 3);
    }

    void SavingOnCloseWritesTheProject()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        station->dialogs.Answers = {true};
        form.show();
        QVERIFY(!form.close());
        QVERIFY(QFileInfo::exists(station->folder.filePath(QStringLiteral("Data/Bracket.prj"))));
        QCOMPARE(station->dialogs.Messages, QStringList("Data has been saved to disk"));
    }

    void ProjectRoundTripThroughTheProjectGroup()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Table(form, "sgData")->SetRowTexts(2, {"2", "4.000", "5.000", "abc"});
        Table(form, "sgAngles")->SetRowTexts(1, {"1", "2", "1", "***.***", "0.000", "0.000", "0.000"});
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral(" bracket A"));
        Find<QPushButton>(form, "btnSaveAll")->click();
        const QString file = station->folder.filePath(QStringLiteral("Data/ bracket A.prj"));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(Find<QLabel>(form, "stLinkStatus")->toolTip().section(QLatin1Char('\n'), 0, 0),
                 QDir::toNativeSeparators(QStringLiteral("Saved to Data/ bracket A.prj")));
        const QStringList data = Table(form, "sgData")->RowTexts(2);
        const QStringList angles = Table(form, "sgAngles")->RowTexts(1);

        Find<QPushButton>(form, "btnNew")->click();
        station->dialogs.FileNames = {file};
        Find<QPushButton>(form, "btnLoadAll")->click();
        QCOMPARE(station->dialogs.FileDialogFolders, QStringList(form.DataDirectory()));
        QCOMPARE(station->dialogs.FileDialogFilters, QStringList("Qintar Project Files (*.prj)|*.PRJ"));
        QCOMPARE(Find<QLineEdit>(form, "edProjectName")->text(), QStringLiteral(" bracket A"));
        QCOMPARE(form.PointCount(), 2);
        QCOMPARE(Table(form, "sgData")->RowTexts(2), data);
        QCOMPARE(Table(form, "sgAngles")->RowTexts(1), angles);
        // Saved, then emptied by New and loaded again: nothing to ask about.
        QVERIFY(station->dialogs.Questions.isEmpty());
    }

    void ExportAndReportFromTheContextMenus()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket 7"));
        for (const char *name :
             {"sgData", "sgDistance", "sgAngles", "Chart1", "Chart2", "Chart3", "Chart4"}) {
            auto *place = Find<QWidget>(form, name);
            QCOMPARE(place->contextMenuPolicy(), Qt::ActionsContextMenu);
            QStringList entries;
            for (const QAction *action : place->actions())
                entries << action->text() + QLatin1Char(' ') + action->shortcut().toString();
            QVERIFY2(entries.contains("Export... Ctrl+E") && entries.contains("Report... Ctrl+R"), name);
        }
        const QDir data(form.DataDirectory());

        // The shortcut of a table with the focus starts the dialog on that table's CSV.
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *points = Find<QTableView>(form, "sgData");
        points->setFocus();
        QTest::keyClick(points, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(station->dialogs.FileDialogFolders, QStringList{data.filePath("Bracket 7_points.csv")});

        const QString csv = station->folder.filePath(QStringLiteral("distances.csv"));
        station->dialogs.FileNames = {csv};
        Find<QTableView>(form, "sgDistance")
            ->findChild<QAction *>(QStringLiteral("sgDistanceExport"))
            ->trigger();
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Point 1,Point 2,delta X (mm)"));
        auto *strip = Find<QLabel>(form, "stLinkStatus");
        QCOMPARE(strip->toolTip().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Exported to distances.csv"));

        // From a view the dialog starts on the drawing; a folder that cannot be made is told and
        // nothing is left behind.
        QFile blocker(station->folder.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        station->dialogs.FileNames = {station->folder.filePath(QStringLiteral("blocker/part.dxf"))};
        form.findChild<QAction *>(QStringLiteral("actViewExport"))->trigger();
        QCOMPARE(station->dialogs.FileDialogFolders.last(), data.filePath("Bracket 7.dxf"));
        QCOMPARE(station->dialogs.Errors.size(), 1);
        QVERIFY(station->dialogs.Errors.constFirst().contains(QStringLiteral("blocker/part.dxf")));
        QVERIFY(!QFileInfo::exists(station->folder.filePath(QStringLiteral("blocker/part.dxf"))));

        const QString pdf = station->folder.filePath(QStringLiteral("report.pdf"));
        station->dialogs.FileNames = {pdf};
        form.findChild<QAction *>(QStringLiteral("actReport"))->trigger();
        QCOMPARE(station->dialogs.FileDialogFolders.last(), data.filePath("Bracket 7.pdf"));
        QFile report(pdf);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QVERIFY(report.read(5) == "%PDF-");
        QCOMPARE(strip->toolTip().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Report written to report.pdf"));
        QCOMPARE(station->dialogs.Errors.size(), 1);
        QVERIFY(station->dialogs.Messages.isEmpty());
    }

    void NewEmptiesEverythingAndAsksForAName()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Table(form, "sgDistance")->SetRowTexts(1, {"1", "2", "1.000", "0.000", "0.000", "1.000"});
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("Bracket"));
        station->dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::No};
        Find<QPushButton>(form, "btnNew")->click();
        QVERIFY(Find<QLineEdit>(form, "edProjectName")->text().isEmpty());
        QVERIFY(!form.HasMeasuredData());
        QVERIFY(Table(form, "sgDistance")->IsRowFree(1));
        QCOMPARE(form.PointCount(), 0);
        QCOMPARE(station->dialogs.Messages, QStringList("Please enter a project name"));
    }

    void LogoDoubleClickTogglesTheWidth()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *image = Find<QLabel>(form, "Image1");
        Find<QLineEdit>(form, "edPassword")->setText(QStringLiteral("Movant 27"));
        Find<QAbstractButton>(form, "sbUseRawValues")->click();
        QVERIFY(!Find<QAbstractButton>(form, "sbCalibrated")->isChecked());

        QTest::mouseDClick(image, Qt::LeftButton);
        QCOMPARE(form.frameGeometry().width(), 1225);
        QCOMPARE(form.ChartWidth(), 600);
        QVERIFY(!Find<QAbstractButton>(form, "sbCalibrated")->isChecked());

        QTest::mouseDClick(image, Qt::LeftButton);
        QCOMPARE(form.frameGeometry().width(), 981);
        QCOMPARE(form.height(), 695);
        QCOMPARE(form.ChartWidth(), 608);
        QVERIFY(Find<QAbstractButton>(form, "sbCalibrated")->isChecked());
        QVERIFY(!Find<QAbstractButton>(form, "sbUseRawValues")->isChecked());
        // Nothing of the maintenance area stays in the strip the narrow width leaves beyond x 968.
        for (const char *name : {"gbCalibration", "edPassword"})
            QVERIFY2(!Find<QWidget>(form, name)->isVisibleTo(&form), name);
        QTest::mouseDClick(image, Qt::LeftButton);
        QVERIFY(Find<QWidget>(form, "gbCalibration")->isVisibleTo(&form));
    }

    void ToggleGroupMayLeaveAllUp()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *xy = Find<QAbstractButton>(form, "sbXYView");
        auto *yz = Find<QAbstractButton>(form, "sbYZView");
        yz->click();
        QVERIFY(yz->isChecked());
        QVERIFY(!xy->isChecked());
        yz->click();
        QVERIFY(!yz->isChecked());
        QVERIFY(!xy->isChecked());
    }

    void OperationTogglesChooseTheTableLayout_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("dataHeight");
        QTest::addColumn<bool>("distancesShown");
        QTest::addColumn<bool>("anglesShown");
        QTest::addColumn<QString>("prompt");
        const QString distance = QStringLiteral("Distance: pick the first point");
        const QString remove =
            QStringLiteral("Delete: click a table row, or a point's mark in a view, to delete it");
        QTest::newRow("start") << QStringList() << 465 << false << false
                               << QStringLiteral("Press On Line to poll the device on COM99");
        QTest::newRow("distance") << QStringList{"sbDistance"} << 220 << true << false << distance;
        QTest::newRow("angle") << QStringList{"sbAngle"} << 220 << false << true
                               << QStringLiteral("Angle: pick the first point");
        QTest::newRow("delete keeps the full table")
            << QStringList{"sbDelete"} << 465 << false << false << remove;
        QTest::newRow("angle then delete keeps angles")
            << QStringList{"sbAngle", "sbDelete"} << 220 << false << true << remove;
        QTest::newRow("delete then distance")
            << QStringList{"sbDelete", "sbDistance"} << 220 << true << false << distance;
        QTest::newRow("distance released stays short")
            << QStringList{"sbDistance", "sbDistance"} << 220 << true << false << QString();
    }

    void OperationTogglesChooseTheTableLayout()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, dataHeight);
        QFETCH(bool, distancesShown);
        QFETCH(bool, anglesShown);
        QFETCH(QString, prompt);
        auto station = Start();
        TQintarForm &form = *station->form;
        for (const QString &name : clicks)
            form.findChild<QAbstractButton *>(name)->click();
        QCOMPARE(Find<QWidget>(form, "sgData")->height(), dataHeight);
        QCOMPARE(Find<QWidget>(form, "gbMeasuredData")->height(), dataHeight == 465 ? 489 : 250);
        QCOMPARE(Find<QWidget>(form, "gbInferredDistances")->isVisibleTo(&form), distancesShown);
        QCOMPARE(Find<QWidget>(form, "gbinferredAngles")->isVisibleTo(&form), anglesShown);
        // The strip tells what the mode down asks for; no stale prompt of an earlier mode stays.
        QCOMPARE(Find<QLabel>(form, "stLinkStatus")->text(), prompt);
    }

    void ClickingARowInDeleteModeAsksAndDeletes()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        TTextTable *data = Table(form, "sgData");
        for (int row = 1; row <= 3; ++row)
            data->SetRowTexts(row,
                              {QString::number(row), QStringLiteral("%1.000").arg(row), "0.000", "0.000"});
        form.show();
        Find<QAbstractButton>(form, "sbDelete")->click();
        station->dialogs.Answers = {true};
        auto *view = Find<QTableView>(form, "sgData");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(data->index(1, 1)).center());
        QCOMPARE(station->dialogs.Questions.size(), 1);
        QCOMPARE(data->RowTexts(2), QStringList({"3", "3.000", "0.000", "0.000"}));
        QVERIFY(data->IsRowFree(3));
    }

    void ProjectNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("has");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks") << QStringLiteral("   ") << false;
        QTest::newRow("tab and control") << QStringLiteral("\t\x01 \r\n") << false;
        QTest::newRow("word in blanks") << QStringLiteral("  Bracket ") << true;
    }

    void ProjectNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, has);
        QCOMPARE(HasProjectName(name), has);
    }

    void DefaultProjectNameFollowsTheLocale_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("name");
        QTest::newRow("english afternoon") << QDateTime(QDate(2024, 3, 5), QTime(14, 23, 1))
                                           << QLocale(QLocale::English) << "2024Mar05_142301";
        QTest::newRow("midnight") << QDateTime(QDate(2025, 12, 31), QTime(0, 0, 0))
                                  << QLocale(QLocale::English) << "2025Dec31_000000";
        QTest::newRow("german abbreviation without its point")
            << QDateTime(QDate(2024, 12, 9), QTime(8, 5, 9)) << QLocale(QLocale::German)
            << "2024Dez09_080509";
        // No Latin letters, or letters the files' code page lacks: the English abbreviation.
        const QDateTime march(QDate(2024, 3, 5), QTime(14, 23, 1));
        QTest::newRow("chinese") << march << QLocale(QLocale::Chinese, QLocale::China) << "2024Mar05_142301";
        QTest::newRow("russian") << march << QLocale(QLocale::Russian) << "2024Mar05_142301";
        QTest::newRow("greek") << march << QLocale(QLocale::Greek) << "2024Mar05_142301";
        QTest::newRow("czech") << march << QLocale(QLocale::Czech) << "2024Mar05_142301";
    }

    void DefaultProjectNameFollowsTheLocale()
    {
        QFETCH(QDateTime, when);
        QFETCH(QLocale, locale);
        QFETCH(QString, name);
        QCOMPARE(DefaultProjectName(when, locale), name);
    }
};

QTEST_MAIN(TQintarFormTest)
#include "qintarform_test.moc"
