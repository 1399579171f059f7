// The features window of the station, driven through its controls by objectName.
#include "app/qintarform.h"
#include "app/stationfeatures.h"
#include "register/featureregister.h"
#include "stationundertest.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <array>

namespace {

const QStringList kCircleRow{"C1",       "Circle",   "1-8",      "10.000", "-5.000", "0.000",
                             "0.000000", "0.000000", "1.000000", "20.000", "0.002",  ""};

TTextTable *Features(TQintarForm &form)
{
    return &const_cast<TFeatureRegister &>(form.FeatureRegister()).Table();
}

QWidget *FeaturesWindow(TQintarForm &form)
{
    return Find<QWidget>(form, "FeaturesForm");
}

} // namespace

class TFeaturesWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void OpenedByTheButtonTheShortcutAndTheContextMenus()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *button = Find<QPushButton>(form, "btnFeatures");
        QCOMPARE(button->geometry(), QRect(8, 107, 80, 21));
        QCOMPARE(button->text(), QStringLiteral("Features"));
        QWidget *window = FeaturesWindow(form);
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());

        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(window->isVisible());
        // Beside the main window, not over it, where the screen has room.
        QVERIFY(!window->frameGeometry().intersects(form.frameGeometry()) ||
                window->frameGeometry().width() + form.frameGeometry().width() > 1400);
        // As tall as the screen lets it be, the characteristics and the run chart below its table.
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(window->frameGeometry().height() <= screen.height(),
                 qPrintable(
                     QStringLiteral("%1 on %2").arg(window->frameGeometry().height()).arg(screen.height())));
        window->hide();
        button->click();
        QVERIFY(window->isVisible());
        window->hide();
        for (const char *name : {"sgData", "sgDistance", "sgAngles", "Chart1", "Chart4"}) {
            auto *action = form.findChild<QAction *>(QString::fromLatin1(name) + QStringLiteral("Features"));
            QVERIFY2(action, name);
            action->trigger();
            QVERIFY2(window->isVisible(), name);
            window->hide();
        }
    }

    void TypeTogglesFormOneGroupAndShowTheProgress()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *circle = Find<QPushButton>(form, "sbFeatCircle");
        auto *cone = Find<QPushButton>(form, "sbFeatCone");
        auto *progress = Find<QLabel>(form, "stFeatureProgress");
        circle->click();
        QCOMPARE(progress->text(), QStringLiteral("Circle: 0 points (needs 3)"));
        for (int number : {1, 2, 3})
            form.StationFeatures()->PointRecorded(number);
        QCOMPARE(progress->text(), QStringLiteral("Circle: 3 points (needs 3)"));
        cone->click();
        QVERIFY(!circle->isChecked());
        QCOMPARE(progress->text(), QStringLiteral("Cone: 3 points (needs 6)"));
        // Esc abandons the feature in progress; the type stays chosen.
        QTest::keyClick(FeaturesWindow(form), Qt::Key_Escape);
        QCOMPARE(progress->text(), QStringLiteral("Cone: 0 points (needs 6)"));
        cone->click();
        QVERIFY(!cone->isChecked());
        QVERIFY(!Find<QPushButton>(form, "btnEndFeature")->isEnabled());
    }

    void TypedNumbersThatDoNotReadAreToldAndAddNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("told");
        QTest::newRow("bad text") << "1-x"
                                  << "\"1-x\" is no point number or range";
        QTest::newRow("unknown") << "1, 7-9"
                                 << "Points 7, 8, 9 are not in the point table.";
        QTest::newRow("too few") << "1"
                                 << "A circle needs at least 3 points; it has 1.";
    }

    void TypedNumbersThatDoNotReadAreToldAndAddNothing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, told);
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Find<QPushButton>(form, "sbFeatCircle")->click();
        auto *points = Find<QLineEdit>(form, "edFeaturePoints");
        points->setText(typed);
        // Enter in the numbers' box fits them, as Fit does.
        FeaturesWindow(form)->show();
        points->setFocus();
        QTest::keyClick(FeaturesWindow(form), Qt::Key_Return);
        Find<QPushButton>(form, "btnFitFeature")->click();
        QCOMPARE(station->dialogs.Messages.size(), 2);
        QVERIFY2(station->dialogs.Messages.first().startsWith(told),
                 qPrintable(station->dialogs.Messages.first()));
        QVERIFY(Features(form)->IsRowFree(1));
    }

    void DeleteKeyAsksBeforeDeletingTheSelectedRows()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Features(form)->SetRowTexts(1, kCircleRow);
        QStringList plane = kCircleRow;
        plane[0] = QStringLiteral("PL1");
        plane[1] = QStringLiteral("Plane");
        Features(form)->SetRowTexts(2, plane);
        auto *table = Find<QTableView>(form, "sgFeatures");
        table->selectRow(0);
        station->dialogs.Answers = {false, true};
        QTest::keyClick(FeaturesWindow(form), Qt::Key_Delete);
        QCOMPARE(station->dialogs.Questions, QStringList("Delete feature C1?"));
        QCOMPARE(Features(form)->Cell(0, 1), QStringLiteral("C1"));
        QTest::keyClick(FeaturesWindow(form), Qt::Key_Delete);
        QCOMPARE(Features(form)->RowTexts(1), plane);
        QVERIFY(Features(form)->IsRowFree(2));
    }

    void RelationsTakeTheTwoSelectedRows()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Features(form)->SetRowTexts(1, kCircleRow);
        Features(form)->SetRowTexts(2, {"PL1", "Plane", "9-12", "0.000", "0.000", "2.500", "0.000000",
                                        "0.000000", "1.000000", "", "0.001", ""});
        auto *table = Find<QTableView>(form, "sgFeatures");
        FeaturesWindow(form)->show();
        QVERIFY(QTest::qWaitForWindowExposed(FeaturesWindow(form)));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(0, 0)).center());
        Find<QPushButton>(form, "btnFeatDistance")->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY(station->dialogs.Messages.first().startsWith("Select two features"));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          table->visualRect(table->model()->index(1, 0)).center());
        Find<QPushButton>(form, "btnFeatDistance")->click();
        QCOMPARE(Features(form)->RowTexts(3),
                 QStringList({"D1", "Distance", "C1, PL1", "", "", "", "", "", "", "-2.500", "", ""}));
        Find<QPushButton>(form, "btnFeatAngle")->click();
        QCOMPARE(Features(form)->Cell(TFeatureRegister::ColSize, 4), QStringLiteral("0.000"));
        QCOMPARE(station->dialogs.Messages.size(), 1);
    }

    void ConstructionsTakeTheSelectedRows()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        const std::array<std::pair<const char *, const char *>, 3> holes{
            {{"10.000", "0.000"}, {"0.000", "10.000"}, {"-10.000", "0.000"}}};
        for (int i = 0; i < 3; ++i) {
            QStringList row = kCircleRow;
            row[0] = QStringLiteral("C%1").arg(i + 1);
            row[2] = QStringLiteral("%1-%2").arg(4 * i + 1).arg(4 * i + 4);
            row[3] = QLatin1String(holes[i].first);
            row[4] = QLatin1String(holes[i].second);
            Features(form)->SetRowTexts(i + 1, row);
        }
        auto *table = Find<QTableView>(form, "sgFeatures");
        auto *construction = Find<QComboBox>(form, "cbConstruction");
        auto *construct = Find<QPushButton>(form, "btnConstruct");
        FeaturesWindow(form)->show();
        QVERIFY(QTest::qWaitForWindowExposed(FeaturesWindow(form)));
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers,
                              table->visualRect(table->model()->index(row - 1, 0)).center());
        };

        QCOMPARE(construction->currentIndex(), 0);
        click(1, {});
        construct->click();
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages.first().startsWith("Select two features"),
                 qPrintable(station->dialogs.Messages.first()));

        // Three circles make a bolt circle, selected once made.
        click(2, Qt::ControlModifier);
        click(3, Qt::ControlModifier);
        construct->click();
        QCOMPARE(Features(form)->RowTexts(4).mid(0, 10),
                 QStringList({"C4", "Circle", "Bolt circle C1, C2, C3", "0.000", "0.000", "0.000", "0.000000",
                              "0.000000", "1.000000", "20.000"}));
        QCOMPARE(form.StationFeatures()->SelectedRows(), QList<int>{4});

        // Two centres named as a line; asked to meet as planes they are refused.
        construction->setCurrentIndex(
            construction->findData(static_cast<int>(TConstructionRecipe::TKind::Line)));
        click(1, {});
        click(3, Qt::ControlModifier);
        construct->click();
        QCOMPARE(Features(form)->RowTexts(5).mid(0, 9),
                 QStringList({"L1", "Line", "Line C1, C3", "0.000", "0.000", "0.000", "1.000000", "0.000000",
                              "0.000000"}));
        construction->setCurrentIndex(
            construction->findData(static_cast<int>(TConstructionRecipe::TKind::Meet)));
        click(1, {});
        click(3, Qt::ControlModifier);
        construct->click();
        QCOMPARE(station->dialogs.Messages.size(), 2);
        QVERIFY2(station->dialogs.Messages.last().startsWith("No line where the planes meet from C1, C3"),
                 qPrintable(station->dialogs.Messages.last()));
        QVERIFY(Features(form)->IsRowFree(6));
    }

    void PointRowsComeAndGoWithoutTouchingFeatures()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutPoint(form);
        Table(form, "sgData")->SetRowTexts(2, {"2", "4.000", "5.000", "6.000"});
        Features(form)->SetRowTexts(1, kCircleRow);
        // Deleting point 2 in Delete Point mode leaves the feature made from it.
        Find<QPushButton>(form, "sbDelete")->click();
        station->dialogs.Answers = {true};
        Table(form, "sgData")->SetRow(2);
        QCOMPARE(station->dialogs.Questions.size(), 1);
        QVERIFY(Table(form, "sgData")->IsRowFree(2));
        QCOMPARE(Features(form)->RowTexts(1), kCircleRow);

        // Clear empties the features with the points, after the question for unsaved work.
        station->dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::No};
        Find<QPushButton>(form, "btnClear")->click();
        QVERIFY(Features(form)->IsRowFree(1));
    }

    void ProjectKeepsTheFeaturesAndCountsThemAsWork()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("bracket"));
        Features(form)->SetRowTexts(1, kCircleRow);
        // A feature alone is work that New asks about.
        station->dialogs.ThreeWayAnswers = {TOperatorDialogs::TAnswer::Cancel};
        Find<QPushButton>(form, "btnNew")->click();
        QCOMPARE(station->dialogs.Questions, QStringList("Save current data?"));
        QCOMPARE(Features(form)->RowTexts(1), kCircleRow);

        Find<QPushButton>(form, "btnSaveAll")->click();
        const QString file = station->folder.filePath(QStringLiteral("Data/bracket.prj"));
        station->dialogs.ThreeWayAnswers.clear();
        Find<QPushButton>(form, "btnNew")->click();
        QVERIFY(Features(form)->IsRowFree(1));
        station->dialogs.FileNames = {file};
        Find<QPushButton>(form, "btnLoadAll")->click();
        QCOMPARE(Features(form)->RowTexts(1), kCircleRow);
        QCOMPARE(form.FeatureRegister().NextName(TFeatureType::Circle), QStringLiteral("C2"));
        QCOMPARE(station->dialogs.Questions.size(), 1);
    }
};

QTEST_MAIN(TFeaturesWindowTest)
#include "featureswindow_test.moc"
