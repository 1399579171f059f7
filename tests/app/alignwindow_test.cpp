// The part alignment in the features window: the Align dialog, Part with its own readout, the table's
// menu for the active alignment and its relations, and a project that keeps them.
#include "app/alignmentdialog.h"
#include "app/qintarform.h"
#include "app/stationalignment.h"
#include "app/stationfeatures.h"
#include "register/featureregister.h"
#include "stationundertest.h"

#include <Eigen/Geometry>
#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <numbers>

namespace {

using V = Eigen::Vector3d;
using F = TFeatureRegister;
const double Deg = std::numbers::pi / 180.0;

// A bracket drawn with its top face at Z 0, its front edge along X at Y -10, its datum hole (20 mm) at
// the origin and a second hole at X 40, Y 15, sitting tilted, turned and shifted on the table.
const Eigen::Matrix3d kTurn =
    (Eigen::AngleAxisd(28 * Deg, V::UnitZ()) * Eigen::AngleAxisd(4 * Deg, V::UnitX()) *
     Eigen::AngleAxisd(-2.5 * Deg, V::UnitY()))
        .toRotationMatrix();
const V kShift{120.5, 43.25, -17.75};

V OnTable(const V &drawn)
{
    return kTurn * drawn + kShift;
}

TFeatureRegister &Register(TQintarForm &form)
{
    return const_cast<TFeatureRegister &>(form.FeatureRegister());
}

int Put(TQintarForm &form, TFeatureType type, const V &location, const V &direction, double diameter,
        int firstPoint)
{
    TGeometryFeature feature;
    feature.type = type;
    feature.location = OnTable(location);
    feature.direction = kTurn * direction;
    feature.diameter = diameter;
    return Register(form).AddFeature(feature, {firstPoint, firstPoint + 1, firstPoint + 2, firstPoint + 3});
}

// PL1 the top face, L1 the edge, C1 the datum hole, C2 the second hole: rows 1 to 4.
void PutBracket(TQintarForm &form)
{
    Put(form, TFeatureType::Plane, {30, 20, 0}, V::UnitZ(), 0, 1);
    Put(form, TFeatureType::Line, {35, -10, 0}, V::UnitX(), 0, 5);
    Put(form, TFeatureType::Circle, {0, 0, 0}, V::UnitZ(), 20, 9);
    Put(form, TFeatureType::Circle, {40, 15, 0}, V::UnitZ(), 20, 13);
}

QTableView *FeaturesView(TQintarForm &form)
{
    return Find<QTableView>(form, "sgFeatures");
}

// The row's texts as sgFeatures shows them.
QStringList Shown(TQintarForm &form, int row)
{
    QStringList texts;
    const QAbstractItemModel *model = FeaturesView(form)->model();
    for (int column = 0; column < F::ColumnCount; ++column)
        texts.append(model->index(row - 1, column).data().toString());
    return texts;
}

V ShownVector(TQintarForm &form, int row, int firstColumn)
{
    const QStringList texts = Shown(form, row);
    return {texts[firstColumn].toDouble(), texts[firstColumn + 1].toDouble(),
            texts[firstColumn + 2].toDouble()};
}

QString StatusText(TQintarForm &form)
{
    return Find<QLabel>(form, "stLinkStatus")->toolTip();
}

TAlignmentDialog *OpenDialog(TQintarForm &form)
{
    Find<QPushButton>(form, "btnAlign")->click();
    return form.StationFeatures()->Alignment().Dialog();
}

// Chooses the entries by their texts and presses OK.
void Align(TAlignmentDialog &dialog, const QString &primary, const QString &secondary, const QString &origin)
{
    for (const auto &[list, text] :
         {std::pair{dialog.cbAlignPrimary, primary}, std::pair{dialog.cbAlignSecondary, secondary},
          std::pair{dialog.cbAlignOrigin, origin}}) {
        const int index = list->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        list->setCurrentIndex(index);
    }
    dialog.btnAlignOk->click();
}

void Trigger(TQintarForm &form, const char *action, int row)
{
    FeaturesView(form)->selectRow(row - 1);
    auto *found = FeaturesView(form)->findChild<QAction *>(QLatin1String(action));
    QVERIFY2(found, action);
    QVERIFY2(FeaturesView(form)->actions().contains(found), action);
    found->trigger();
}

} // namespace

class TAlignWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void BracketReadsAsDrawnInPartCoordinates()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutBracket(form);
        TAlignmentDialog *dialog = OpenDialog(form);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->cbAlignPrimary->count(), 2);
        QCOMPARE(dialog->cbAlignSecondary->itemText(2), QStringLiteral("C2-C1"));
        // The origin's Z from the face is offered with a plane primary only, and the label follows.
        auto *fixedBy = dialog->stAlignFixedBy;
        dialog->cbAlignOrigin->setCurrentIndex(
            dialog->cbAlignOrigin->findText(QStringLiteral("C2 (Z: PL1)")));
        QCOMPARE(fixedBy->text(), QStringLiteral("Z: PL1, X: L1, origin: C2 (Z: PL1)"));
        dialog->cbAlignPrimary->setCurrentIndex(1);
        QCOMPARE(dialog->cbAlignOrigin->currentText(), QStringLiteral("C2"));
        QCOMPARE(dialog->cbAlignOrigin->findText(QStringLiteral("C1 (Z: L1)")), -1);
        QCOMPARE(fixedBy->text(), QStringLiteral("Z: L1, X: L1, origin: C2"));

        Align(*dialog, QStringLiteral("PL1"), QStringLiteral("L1"), QStringLiteral("C1"));
        QVERIFY(!form.StationFeatures()->Alignment().Dialog());
        QVERIFY(station->dialogs.Messages.isEmpty());
        QCOMPARE(Register(form).Name(5), QStringLiteral("AL1"));
        QCOMPARE(Register(form).Table().Cell(F::ColFrom, 5), QStringLiteral("Z: PL1, X: L1, origin: C1"));
        QCOMPARE(Register(form).Alignments().ActiveName(), QStringLiteral("AL1"));
        QCOMPARE(form.StationFeatures()->SelectedRows(), QList<int>{5});
        QVERIFY2(StatusText(form).startsWith("AL1 active: Z: PL1, X: L1, origin: C1"),
                 qPrintable(StatusText(form)));

        const QStringList machine = Register(form).Table().RowTexts(4);
        QCOMPARE(Shown(form, 4), machine);
        auto *part = Find<QPushButton>(form, "sbPartCoordinates");
        part->click();
        QVERIFY(part->isChecked());
        QCOMPARE(Shown(form, 3).mid(F::ColX, 3), QStringList({"0.000", "0.000", "0.000"}));
        QCOMPARE(Shown(form, 2)[F::ColI], QStringLiteral("1.000000"));
        QVERIFY((ShownVector(form, 2, F::ColI) - V(1, 0, 0)).norm() < 2e-6);
        QVERIFY((ShownVector(form, 2, F::ColX) - V(35, -10, 0)).cwiseAbs().maxCoeff() < 1.5e-3);
        QVERIFY((ShownVector(form, 4, F::ColX) - V(40, 15, 0)).cwiseAbs().maxCoeff() < 1.5e-3);
        QCOMPARE(Shown(form, 4)[F::ColSize], QStringLiteral("20.000"));
        // The table itself stays in machine coordinates.
        QCOMPARE(Register(form).Table().RowTexts(4), machine);

        // The probe's own readout follows the positions the main readouts show, which stay as sent.
        auto *mainX = Find<QLabel>(form, "stReadX");
        const QString mainBefore = mainX->text();
        const V probe = OnTable({10, 5, 2});
        Q_EMIT form.PositionShown(TPoint3{float(probe.x()), float(probe.y()), float(probe.z())});
        QCOMPARE(Find<QLabel>(form, "stPartX")->text(), QStringLiteral("10.000"));
        QCOMPARE(Find<QLabel>(form, "stPartY")->text(), QStringLiteral("5.000"));
        QCOMPARE(Find<QLabel>(form, "stPartZ")->text(), QStringLiteral("2.000"));
        QCOMPARE(mainX->text(), mainBefore);

        part->click();
        QVERIFY(!part->isChecked());
        QCOMPARE(Shown(form, 4), machine);
        QCOMPARE(Shown(form, 3)[F::ColX], Register(form).Table().Cell(F::ColX, 3));
        QVERIFY(Find<QLabel>(form, "stPartX")->text().isEmpty());
    }

    void MenuRelatesToTheActiveAlignmentAndMakesAnotherActive()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        PutBracket(form);
        // With none active the relations are told, not added.
        Trigger(form, "actPositionInPart", 4);
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(station->dialogs.Messages.last().startsWith("No alignment is active"),
                 qPrintable(station->dialogs.Messages.last()));
        Align(*OpenDialog(form), QStringLiteral("PL1"), QStringLiteral("L1"), QStringLiteral("C1"));
        Align(*OpenDialog(form), QStringLiteral("PL1"), QStringLiteral("C1-C2"), QStringLiteral("C2"));
        QCOMPARE(Register(form).Alignments().ActiveName(), QStringLiteral("AL2"));
        auto *angleX = FeaturesView(form)->findChild<QAction *>(QStringLiteral("actAngleToAlignX"));
        QVERIFY(angleX);
        QCOMPARE(angleX->text(), QStringLiteral("Angle to AL2 X"));

        Trigger(form, "actAlignMakeActive", 4);
        QVERIFY2(station->dialogs.Messages.last().startsWith("C2 is no alignment"),
                 qPrintable(station->dialogs.Messages.last()));
        Trigger(form, "actAlignMakeActive", 5);
        QCOMPARE(Register(form).Alignments().ActiveName(), QStringLiteral("AL1"));
        QCOMPARE(angleX->text(), QStringLiteral("Angle to AL1 X"));

        Trigger(form, "actAngleToAlignX", 2);
        QCOMPARE(Register(form).Table().Cell(F::ColFrom, 7), QStringLiteral("L1, AL1 X"));
        QCOMPARE(Register(form).Table().Cell(F::ColSize, 7), QStringLiteral("0.000"));
        Trigger(form, "actAngleToAlignZ", 2);
        QCOMPARE(Register(form).Table().Cell(F::ColSize, 8), QStringLiteral("90.000"));
        Trigger(form, "actPositionInPart", 4);
        QCOMPARE(Register(form).Table().Cell(F::ColFrom, 9), QStringLiteral("C2, AL1"));
        QVERIFY(std::abs(Register(form).Table().Cell(F::ColX, 9).toDouble() - 40.0) < 1.5e-3);
        QVERIFY(std::abs(Register(form).Table().Cell(F::ColY, 9).toDouble() - 15.0) < 1.5e-3);
        const int told = station->dialogs.Messages.size();
        Trigger(form, "actPositionInPart", 2);
        Trigger(form, "actAngleToAlignY", 9);
        QCOMPARE(station->dialogs.Messages.size(), told + 2);
        QVERIFY(Register(form).Table().IsRowFree(10));

        // Deleting the active alignment's row with Part down brings Part up, told.
        auto *part = Find<QPushButton>(form, "sbPartCoordinates");
        part->click();
        QVERIFY(part->isChecked());
        FeaturesView(form)->selectRow(4);
        station->dialogs.Answers = {true};
        QTest::keyClick(Find<QWidget>(form, "FeaturesForm"), Qt::Key_Delete);
        QVERIFY(Register(form).Alignments().ActiveName().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!part->isChecked(), 60000);
        QVERIFY2(StatusText(form).contains("no alignment is active"), qPrintable(StatusText(form)));
        QCOMPARE(Shown(form, 4), Register(form).Table().RowTexts(4));
        QCOMPARE(Register(form).Alignments().Table().FilledRowCount(), 1);
    }

    void RefusalsAreToldAndAddNothing()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        // Nothing to align on: told, no dialog.
        QVERIFY(!OpenDialog(form));
        QCOMPARE(station->dialogs.Messages.size(), 1);
        QVERIFY2(
            station->dialogs.Messages.last().startsWith("No alignment: the features table needs a plane"),
            qPrintable(station->dialogs.Messages.last()));
        // Part without an active alignment stays up and says why.
        auto *part = Find<QPushButton>(form, "sbPartCoordinates");
        part->click();
        QVERIFY(!part->isChecked());
        QVERIFY2(StatusText(form).startsWith("No part coordinates: no alignment is active"),
                 qPrintable(StatusText(form)));
        QVERIFY(part->toolTip().contains("no alignment is active"));

        PutBracket(form);
        // An upright pin square to the face: parallel to the primary, it fixes no turn.
        Put(form, TFeatureType::Cylinder, {50, 0, 5}, V::UnitZ(), 6, 17);
        TAlignmentDialog *dialog = OpenDialog(form);
        QVERIFY(dialog);
        Align(*dialog, QStringLiteral("PL1"), QStringLiteral("CY1"), QStringLiteral("C1"));
        QCOMPARE(station->dialogs.Messages.size(), 2);
        QVERIFY2(station->dialogs.Messages.last().contains("parallel to the primary"),
                 qPrintable(station->dialogs.Messages.last()));
        QVERIFY(Register(form).Table().IsRowFree(6));
        QVERIFY(Register(form).Alignments().ActiveName().isEmpty());
        // The dialog stays open for another choice; Align again brings it to the front.
        QCOMPARE(form.StationFeatures()->Alignment().Dialog(), dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(OpenDialog(form), dialog);
        Align(*dialog, QStringLiteral("CY1"), QStringLiteral("L1"), QStringLiteral("C1"));
        QCOMPARE(Register(form).Table().Cell(F::ColFrom, 6), QStringLiteral("Z: CY1, X: L1, origin: C1"));
        QCOMPARE(station->dialogs.Messages.size(), 2);
    }

    void ProjectKeepsTheActiveAlignment()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        Find<QLineEdit>(form, "edProjectName")->setText(QStringLiteral("bracket"));
        PutBracket(form);
        Align(*OpenDialog(form), QStringLiteral("PL1"), QStringLiteral("L1"), QStringLiteral("C1 (Z: PL1)"));
        Align(*OpenDialog(form), QStringLiteral("PL1"), QStringLiteral("L1"), QStringLiteral("C2"));
        Trigger(form, "actAlignMakeActive", 5);
        auto *part = Find<QPushButton>(form, "sbPartCoordinates");
        part->click();
        QVERIFY(part->isChecked());
        const QStringList shown = Shown(form, 4);

        Find<QPushButton>(form, "btnSaveAll")->click();
        const QString file = station->folder.filePath(QStringLiteral("Data/bracket.prj"));
        QVERIFY(QFile::exists(file));
        Find<QPushButton>(form, "btnNew")->click();
        QVERIFY(Register(form).Table().IsRowFree(1));
        QTRY_VERIFY_WITH_TIMEOUT(!part->isChecked(), 60000);
        station->dialogs.FileNames = {file};
        Find<QPushButton>(form, "btnLoadAll")->click();
        QCOMPARE(Register(form).Alignments().ActiveName(), QStringLiteral("AL1"));
        QCOMPARE(Register(form).Table().Cell(F::ColFrom, 5),
                 QStringLiteral("Z: PL1, X: L1, origin: C1 (Z: PL1)"));
        part->click();
        QVERIFY(part->isChecked());
        QCOMPARE(Shown(form, 4), shown);
        QCOMPARE(Shown(form, 3).mid(F::ColX, 3), QStringList({"0.000", "0.000", "0.000"}));
        // An alignment's type and what fixes it fit their columns, uncut.
        const QFontMetrics metrics(FeaturesView(form)->font());
        for (const int column : {int(F::ColType), int(F::ColFrom)})
            QVERIFY(metrics.horizontalAdvance(Register(form).Table().Cell(column, 5)) + 6 <=
                    FeaturesView(form)->columnWidth(column));
        // Names go on after the loaded ones.
        QCOMPARE(Register(form).NextName(TPartAlignments::NamePrefix), QStringLiteral("AL3"));
        // New's own reminder alone: nothing of the alignment was refused on the way.
        QCOMPARE(station->dialogs.Messages, QStringList("Please enter a project name"));
    }
};

QTEST_MAIN(TAlignWindowTest)
#include "alignwindow_test.moc"
