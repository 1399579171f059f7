#include "app/stationalignment.h"

#include "app/alignmentdialog.h"
#include "app/featuresform.h"
#include "common/coordinatetext.h"
#include "common/operatordialogs.h"
#include "register/featureregister.h"
#include "register/partcoordinatesmodel.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

const char *const kPartTip =
    QT_TRANSLATE_NOOP("TStationAlignment", "Show the features and the probe in the coordinates of the "
                                           "active alignment; up: machine coordinates");

} // namespace

TStationAlignment::TStationAlignment(TFeatureRegister &features, TFeaturesForm &form,
                                     TPartCoordinatesModel &shown, TOperatorDialogs &dialogs,
                                     TSelectedRows selected, std::function<void(const QString &)> report,
                                     QObject *parent)
    : QObject(parent), m_features(features), m_form(form), m_shown(shown), m_dialogs(dialogs),
      m_selected(std::move(selected)), m_report(std::move(report))
{
    connect(m_form.btnAlign, &QPushButton::clicked, this, &TStationAlignment::OpenDialog);
    connect(m_form.sbPartCoordinates, &QPushButton::toggled, this, &TStationAlignment::PartToggled);
    connect(&m_features.Table(), &TTextTable::Edited, this, &TStationAlignment::AlignmentsEdited);
    connect(&m_features.Alignments().Table(), &TTextTable::Edited, this,
            &TStationAlignment::AlignmentsEdited);

    QTableView *table = m_form.sgFeatures;
    const auto add = [this, table](const char *name, const QString &caption, const QString &tip) {
        auto *action = new QAction(caption, table);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(tip);
        table->addAction(action);
        return action;
    };
    connect(add("actAlignMakeActive", tr("Make active"),
                tr("Make the selected alignment the active one: part coordinates are read in it")),
            &QAction::triggered, this, &TStationAlignment::MakeActive);
    const std::array<const char *, 3> angleNames{"actAngleToAlignX", "actAngleToAlignY", "actAngleToAlignZ"};
    for (int axis = 0; axis < 3; ++axis) {
        m_angleActions[axis] = add(angleNames[axis], QString(),
                                   tr("Add the angle of the selected line, axis or plane to this axis of the "
                                      "active alignment"));
        connect(m_angleActions[axis], &QAction::triggered, this, [this, axis] { AngleToAxis(axis); });
    }
    connect(add("actPositionInPart", tr("Position in part"),
                tr("Add the selected point's or centre's position in part coordinates of the active "
                   "alignment")),
            &QAction::triggered, this, &TStationAlignment::PositionInPart);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    Refresh();
}

TAlignmentDialog *TStationAlignment::Dialog() const
{
    return m_dialog;
}

void TStationAlignment::Report(const QString &text)
{
    if (m_report)
        m_report(text);
}

void TStationAlignment::OpenDialog()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    auto *dialog = new TAlignmentDialog(m_features, m_dialogs, &m_form);
    const TAlignmentChoices &choices = dialog->Choices();
    if (!choices.Complete()) {
        QStringList missing;
        if (choices.Primaries().isEmpty())
            missing.append(tr("a plane, or a line, cylinder or cone for its axis, as the primary"));
        if (choices.Secondaries().isEmpty())
            missing.append(tr("a line, an axis or two centres as the secondary"));
        if (choices.Origins(-1).isEmpty())
            missing.append(tr("a point or a centre as the origin"));
        delete dialog;
        m_dialogs.ShowMessage(
            tr("No alignment: the features table needs %1.").arg(missing.join(QStringLiteral("; "))));
        return;
    }
    m_dialog = dialog;
    connect(dialog, &QDialog::finished, this, &TStationAlignment::DialogDone);
    dialog->open();
}

void TStationAlignment::DialogDone(int result)
{
    TAlignmentDialog *dialog = m_dialog;
    m_dialog = nullptr;
    if (!dialog)
        return;
    dialog->deleteLater();
    if (result != QDialog::Accepted || dialog->AddedRow() == 0)
        return;
    Report(dialog->AddedMessage());
    Select(dialog->AddedRow());
    Refresh();
}

void TStationAlignment::Select(int row)
{
    // The new row alone is selected, whatever keys are held, so that it can be taken on at once.
    const QModelIndex first = m_form.sgFeatures->model()->index(row - 1, 0);
    m_form.sgFeatures->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect |
                                                                    QItemSelectionModel::Rows);
    m_form.sgFeatures->scrollTo(first);
}

void TStationAlignment::PartToggled(bool down)
{
    if (down && !m_features.ActiveAlignment()) {
        {
            const QSignalBlocker blocker(m_form.sbPartCoordinates);
            m_form.sbPartCoordinates->setChecked(false);
        }
        Report(tr("No part coordinates: no alignment is active; make one with Align..., or make an AL row "
                  "active from the table's menu"));
        Refresh();
        return;
    }
    m_shown.SetPartCoordinates(down);
    Refresh();
    Report(down ? tr("Features and probe in part coordinates of %1").arg(m_features.Alignments().ActiveName())
                : tr("Features in machine coordinates"));
}

void TStationAlignment::AlignmentsEdited()
{
    // A row is written cell by cell and a load writes one table after the other: look once all is done.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &TStationAlignment::Refresh, Qt::QueuedConnection);
}

void TStationAlignment::Refresh()
{
    m_refreshPending = false;
    m_frame = m_features.ActiveAlignment();
    const QString active = m_frame ? m_features.Alignments().ActiveName() : QString();
    if (m_form.sbPartCoordinates->isChecked() && !m_frame) {
        {
            const QSignalBlocker blocker(m_form.sbPartCoordinates);
            m_form.sbPartCoordinates->setChecked(false);
        }
        m_shown.SetPartCoordinates(false);
        Report(tr("Features in machine coordinates: no alignment is active any more"));
    }
    const QString tip = tr(kPartTip);
    m_form.sbPartCoordinates->setToolTip(m_frame
                                             ? tip + tr(" (%1 is active)").arg(active)
                                             : tip + tr(" (no alignment is active: make one with Align...)"));
    for (int axis = 0; axis < 3; ++axis)
        m_angleActions[axis]->setText(tr("Angle to %1 %2")
                                          .arg(m_frame ? active : tr("alignment"))
                                          .arg(TPartAlignments::AxisNames[axis]));
    ShowReadouts();
}

void TStationAlignment::PositionShown(TPoint3 position)
{
    m_position = position;
    ShowReadouts();
}

void TStationAlignment::ShowReadouts()
{
    const bool part = m_form.sbPartCoordinates->isChecked() && m_frame;
    const std::array<QLabel *, 3> readouts{m_form.stPartX, m_form.stPartY, m_form.stPartZ};
    std::optional<Eigen::Vector3d> shown;
    if (part && m_position)
        shown = m_frame->ToPart(Eigen::Vector3d(m_position->x, m_position->y, m_position->z));
    for (int i = 0; i < 3; ++i) {
        readouts[i]->setEnabled(part);
        readouts[i]->setText(shown ? FormatCoordinate(static_cast<float>((*shown)[i])) : QString());
    }
}

int TStationAlignment::OneSelectedRow(const QString &forWhat)
{
    const QList<int> rows = m_selected();
    if (rows.size() == 1)
        return rows.first();
    m_dialogs.ShowMessage(tr("Select one %1.").arg(forWhat));
    return 0;
}

void TStationAlignment::MakeActive()
{
    const int row = OneSelectedRow(tr("AL row to make it the active alignment"));
    if (row == 0)
        return;
    const QString name = m_features.Name(row);
    if (!TPartAlignments::IsAlignmentRow(m_features.Table(), row)) {
        m_dialogs.ShowMessage(
            tr("%1 is no alignment: select an AL row to make it the active one.").arg(name));
        return;
    }
    if (!m_features.Alignments().SetActive(name)) {
        m_dialogs.ShowMessage(
            tr("%1 does not read as an alignment: its origin or axes are not numbers. The active alignment "
               "stays.")
                .arg(name));
        return;
    }
    Refresh();
    Report(tr("%1 active: %2").arg(name, m_features.Table().Cell(TFeatureRegister::ColFrom, row)));
}

void TStationAlignment::AngleToAxis(int axis)
{
    const int row =
        OneSelectedRow(tr("line, axis or plane for its angle to an axis of the active alignment"));
    if (row == 0)
        return;
    const TPartAlignments::TAdded added = m_features.Alignments().AxisAngle(row, axis);
    if (added.row == 0) {
        m_dialogs.ShowMessage(added.message);
        return;
    }
    Report(added.message);
    m_form.sgFeatures->scrollTo(m_form.sgFeatures->model()->index(added.row - 1, 0));
}

void TStationAlignment::PositionInPart()
{
    const int row = OneSelectedRow(tr("point or centre for its position in part coordinates"));
    if (row == 0)
        return;
    const TPartAlignments::TAdded added = m_features.Alignments().Position(row);
    if (added.row == 0) {
        m_dialogs.ShowMessage(added.message);
        return;
    }
    Report(added.message);
    m_form.sgFeatures->scrollTo(m_form.sgFeatures->model()->index(added.row - 1, 0));
}
