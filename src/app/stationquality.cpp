#include "app/stationquality.h"

#include "app/characteristiccolours.h"
#include "app/characteristicspanel.h"
#include "app/featuresform.h"
#include "app/runchart.h"
#include "app/stationfeatures.h"
#include "common/operatordialogs.h"
#include "files/batchreport.h"
#include "files/measurementreport.h"
#include "register/characteristicbatch.h"
#include "register/pointregister.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The reserved place of the button, in the strip between the second row of groups and the views.
const QRect kButtonPlace(92, 107, 80, 21);
constexpr std::array kColumnWidths{56, 170, 104, 60, 60, 66, 66, 56};
// The features window grows by the characteristics below its table, with the run chart.
constexpr int kPanelHeight = 470;

using K = TCharacteristicKind;

} // namespace

TStationQuality::TStationQuality(TFeatureRegister &features, TPointRegister &points,
                                 TStationFeatures &stationFeatures, TOperatorDialogs &dialogs,
                                 QWidget &window)
    : QObject(&window), m_plan(features, points.Data()), m_features(features), m_points(points),
      m_stationFeatures(stationFeatures), m_dialogs(dialogs)
{
    m_button = new QPushButton(tr("Report"), &window);
    m_button->setObjectName(QStringLiteral("btnReport"));
    m_button->setGeometry(kButtonPlace);
    m_button->setToolTip(tr("Write the measurement report as PDF, with the characteristics and their results "
                            "(Ctrl+R)"));
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_report)
            m_report();
    });

    TFeaturesForm *form = m_stationFeatures.Form();
    m_panel = new TCharacteristicsPanel(form);
    if (auto *layout = qobject_cast<QVBoxLayout *>(form->layout()))
        layout->addWidget(m_panel, 1);
    form->resize(form->width(), form->height() + kPanelHeight);
    m_colours = new TCharacteristicColours(this);
    m_colours->setSourceModel(&m_characteristics.Table());
    m_panel->sgCharacteristics->setModel(m_colours);
    for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column)
        m_panel->sgCharacteristics->setColumnWidth(column, kColumnWidths[column]);

    connect(form->sgFeatures->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStationQuality::FeatureSelectionChanged);
    connect(m_panel->cbCharacteristic, &QComboBox::currentIndexChanged, this, [this] {
        const auto kind = m_panel->cbCharacteristic->currentData();
        const bool zone = kind.isValid() && HasUpperToleranceOnly(static_cast<K>(kind.toInt()));
        const bool orientation = kind.isValid() && (kind.toInt() == int(K::Perpendicularity) ||
                                                    kind.toInt() == int(K::Parallelism));
        m_panel->edLower->setEnabled(!zone);
        m_panel->cbDatum->setEnabled(orientation);
    });
    connect(m_panel->btnAddCharacteristic, &QPushButton::clicked, this, &TStationQuality::AddCharacteristic);
    connect(m_panel->btnNextPart, &QPushButton::clicked, this, &TStationQuality::NextPart);
    connect(m_panel->btnSkipFeature, &QPushButton::clicked, this, [this] {
        m_plan.Skip();
        PlanStepped();
    });
    connect(m_panel->btnRedoFeature, &QPushButton::clicked, this, [this] {
        m_plan.Redo();
        ShowGuide();
    });
    connect(m_panel->sgCharacteristics->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStationQuality::ShowStatistics);
    connect(m_panel->sgCharacteristics->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TStationQuality::ShowStatistics);
    connect(m_panel->btnBatchReport, &QPushButton::clicked, this, &TStationQuality::WriteBatchReport);
    auto *batchReport = new QAction(tr("Batch report"), m_panel->sgCharacteristics);
    batchReport->setObjectName(QStringLiteral("actBatchReport"));
    batchReport->setShortcut(BatchReportShortcut);
    batchReport->setShortcutContext(Qt::WindowShortcut);
    connect(batchReport, &QAction::triggered, this, &TStationQuality::WriteBatchReport);
    m_panel->sgCharacteristics->addAction(batchReport);
    m_panel->sgCharacteristics->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), m_panel->sgCharacteristics);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &TStationQuality::DeleteSelected);
    for (QLineEdit *edit : {m_panel->edPartName, m_panel->edPartSerial, m_panel->edOperator})
        connect(edit, &QLineEdit::textEdited, this, &TStationQuality::TakePartFields);

    // The features change a cell at a time; they are judged once the change is complete.
    auto due = [this] {
        if (m_evaluationDue)
            return;
        m_evaluationDue = true;
        QMetaObject::invokeMethod(this, &TStationQuality::Evaluate, Qt::QueuedConnection);
    };
    connect(&m_features.Table(), &QAbstractItemModel::dataChanged, this, due);
    connect(&m_features.Table(), &QAbstractItemModel::modelReset, this, due);
    connect(&m_characteristics.Table(), &QAbstractItemModel::dataChanged, this,
            &TStationQuality::ShowSummary);
    FeatureSelectionChanged();
    ShowSummary();
    ShowGuide();
}

TCharacteristicRegister::TLookup TStationQuality::Lookup() const
{
    // While a part is measured by the plan, a feature not yet measured in it gives nothing.
    return [this, all = TCharacteristicRegister::LookupIn(m_features, m_points.Data())](const QString &name) {
        return m_plan.IsFresh(name) ? all(name) : std::optional<TCharacteristicRegister::TFeatureFacts>();
    };
}

void TStationQuality::ShowGuide()
{
    const bool guiding = m_plan.Active() && !m_plan.Done();
    m_panel->stGuide->setText(m_plan.Active() ? m_plan.GuideText()
                                              : tr("Next part measures another part by these features."));
    m_panel->btnSkipFeature->setEnabled(guiding);
    m_panel->btnRedoFeature->setEnabled(guiding);
    // The feature in hand is highlighted in the views where the last part had it.
    const int row = guiding ? m_features.FindRow(m_plan.CurrentName()) : 0;
    if (row > 0)
        m_stationFeatures.Form()->sgFeatures->selectRow(row - 1);
}

void TStationQuality::PointRecorded(int number)
{
    if (!m_plan.Active() || m_plan.Done())
        return;
    const TGuidedPlan::TOutcome outcome = m_plan.PointRecorded(number);
    if (!outcome.message.isEmpty())
        m_dialogs.ShowMessage(outcome.message);
    if (outcome.fitted)
        PlanStepped();
    else
        ShowGuide();
}

void TStationQuality::PlanStepped()
{
    Evaluate();
    ShowGuide();
    if (!m_plan.Done())
        return;
    Tell(m_plan.GuideText());
    TakePartFields();
    if (m_part.serialNumber.trimmed().isEmpty()) {
        m_dialogs.ShowMessage(tr("The plan is done. Enter the part's serial number in \"Serial\": the part "
                                 "is kept in the history with Next part."));
        m_panel->edPartSerial->setFocus();
        return;
    }
    KeepPart();
}

void TStationQuality::SetProject(std::function<QString()> projectName, std::function<QString()> dataDirectory)
{
    m_projectName = std::move(projectName);
    m_dataDirectory = std::move(dataDirectory);
}

QString TStationQuality::HistoryFile() const
{
    return TResultsHistory::FileName(m_dataDirectory ? m_dataDirectory() : QString(),
                                     m_projectName ? m_projectName() : QString());
}

void TStationQuality::Tell(const QString &text)
{
    if (m_statusReport)
        m_statusReport(text);
}

void TStationQuality::Evaluate()
{
    m_evaluationDue = false;
    m_characteristics.Evaluate(Lookup());
    ShowSummary();
    FeatureSelectionChanged();
}

void TStationQuality::ShowSummary()
{
    const TCharacteristicRegister::TSummary summary = m_characteristics.Summary();
    m_panel->stCharacteristicsSummary->setText(
        summary.total == 0 ? tr("No characteristics: select a feature, choose what to "
                                "tolerance, enter the nominal and tolerances, Add.")
                           : summary.Text());
    ShowStatistics();
}

void TStationQuality::ShowStatistics()
{
    // The current row where it is selected, else the first selected one.
    const QItemSelectionModel *selection = m_panel->sgCharacteristics->selectionModel();
    const QModelIndex current = selection->currentIndex();
    int row = 0;
    if (current.isValid() && selection->isRowSelected(current.row()))
        row = current.row() + 1;
    else
        for (const QModelIndex &index : selection->selectedRows())
            row = row == 0 ? index.row() + 1 : std::min(row, index.row() + 1);
    const auto batch = row > 0 ? TCharacteristicBatch::Of(m_characteristics, row, m_history)
                               : std::optional<TCharacteristicBatch>();
    if (!batch) {
        m_panel->pnRunChart->Clear();
        const qsizetype parts = m_history.Parts().size();
        m_panel->stBatchStatistics->setText(
            tr("Select a characteristic in the table: its statistics over the %1 of the results history "
               "show here.")
                .arg(parts == 1 ? tr("1 part") : tr("%1 parts").arg(parts)));
        return;
    }
    m_panel->pnRunChart->SetSeries(
        {batch->Heading(), batch->Values(), batch->Nominal(), batch->UpperLimit(), batch->LowerLimit()});
    // A figure stays on one line with its name where the text wraps ("min 20.002").
    static const QRegularExpression named(QStringLiteral("\\b(n|mean|s|min|max|Cp|Cpk) "));
    m_panel->stBatchStatistics->setText(batch->Name() + QStringLiteral(":\n") +
                                        batch->StatisticsText().replace(named, QStringLiteral("\\1\u00A0")));
}

void TStationQuality::WriteBatchReport()
{
    const QString project = m_projectName ? m_projectName() : QString();
    if (project.trimmed().isEmpty()) {
        m_dialogs.ShowMessage(QStringLiteral("Please enter a project name"));
        return;
    }
    // The file is the history of record: the report is of the parts it holds under this project's name.
    TResultsHistory history;
    const TFileResult loaded = history.Load(HistoryFile());
    if (!loaded.Ok()) {
        m_dialogs.ShowMessage(loaded.message);
        return;
    }
    if (history.Parts().isEmpty()) {
        m_dialogs.ShowMessage(
            tr("The results history of %1 holds no part yet, so there is no batch to report: "
               "Next part keeps each part measured in it.")
                .arg(project.trimmed()));
        return;
    }
    TakePartFields();
    TBatchReportContent content{project, m_part.partName, QDateTime::currentDateTime(), history.Parts(), {}};
    for (int row = 1; row <= m_characteristics.Count(); ++row)
        if (const auto batch = TCharacteristicBatch::Of(m_characteristics, row, history))
            content.characteristics.append(*batch);
    const QString file = TBatchReport::FileName(m_dataDirectory ? m_dataDirectory() : QString(), project);
    const TFileResult written = TBatchReport(content).Save(file);
    if (!written.Ok()) {
        m_dialogs.ShowError(written.message);
        return;
    }
    Tell(tr("Batch report of %1 written to %2")
             .arg(content.parts.size() == 1 ? tr("1 part") : tr("%1 parts").arg(content.parts.size()),
                  QFileInfo(file).fileName()));
}

void TStationQuality::FeatureSelectionChanged()
{
    const QList<int> rows = m_stationFeatures.SelectedRows();
    const auto lookup = TCharacteristicRegister::LookupIn(m_features, m_points.Data());
    const QString name = rows.isEmpty() ? QString() : m_features.Name(rows.front());
    const auto facts = name.isEmpty() ? std::nullopt : lookup(name);
    const QVariant kept = m_panel->cbCharacteristic->currentData();
    m_panel->cbCharacteristic->clear();
    if (facts) {
        const TFeatureType type = facts->geometry ? facts->geometry->type : TFeatureType::Point;
        for (K kind : TCharacteristicRegister::KindsFor(*facts))
            m_panel->cbCharacteristic->addItem(QString::fromStdString(CharacteristicName(kind, type)),
                                               static_cast<int>(kind));
        const int again = m_panel->cbCharacteristic->findData(kept);
        if (again >= 0)
            m_panel->cbCharacteristic->setCurrentIndex(again);
    }
    m_panel->btnAddCharacteristic->setEnabled(facts.has_value());
    const QString datum = m_panel->cbDatum->currentText();
    m_panel->cbDatum->clear();
    for (int row = 1; row <= m_features.FeatureCount(); ++row) {
        const auto feature = m_features.Feature(row);
        if (feature && m_features.Name(row) != name &&
            (feature->type == TFeatureType::Plane || feature->type == TFeatureType::Line ||
             feature->type == TFeatureType::Cylinder || feature->type == TFeatureType::Cone))
            m_panel->cbDatum->addItem(m_features.Name(row));
    }
    m_panel->cbDatum->setCurrentIndex(std::max(0, m_panel->cbDatum->findText(datum)));
}

void TStationQuality::AddCharacteristic()
{
    const QList<int> rows = m_stationFeatures.SelectedRows();
    const QVariant kind = m_panel->cbCharacteristic->currentData();
    if (rows.isEmpty() || !kind.isValid()) {
        m_dialogs.ShowMessage(tr("Select the feature in the features table first, then what to tolerance."));
        return;
    }
    QString problem;
    const auto definition = TCharacteristicRegister::DefinitionFromTexts(
        m_features.Name(rows.front()), static_cast<K>(kind.toInt()), m_panel->cbDatum->currentText(),
        m_panel->edNominal->text(), m_panel->edUpper->text(), m_panel->edLower->text(), &problem);
    if (!definition) {
        m_dialogs.ShowMessage(problem);
        return;
    }
    const int row = m_characteristics.Add(*definition, Lookup(), &problem);
    if (row == 0) {
        m_dialogs.ShowMessage(problem);
        return;
    }
    m_panel->sgCharacteristics->scrollTo(m_colours->index(row - 1, 0));
    // Selected, so that its run chart and statistics show.
    m_panel->sgCharacteristics->selectRow(row - 1);
    ShowSummary();
    Tell(tr("%1 %2 added")
             .arg(definition->feature,
                  m_characteristics.Table().Cell(TCharacteristicRegister::ColCharacteristic, row)));
}

void TStationQuality::DeleteSelected()
{
    QList<int> rows;
    for (const QModelIndex &index : m_panel->sgCharacteristics->selectionModel()->selectedRows())
        if (!m_characteristics.Table().IsRowFree(index.row() + 1))
            rows.append(index.row() + 1);
    if (rows.isEmpty())
        return;
    if (!m_dialogs.AskYesNo(tr("Delete %n characteristic(s)?", nullptr, rows.size()),
                            TOperatorDialogs::TStyle::Warning))
        return;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows)
        m_characteristics.DeleteRow(row);
    ShowSummary();
}

void TStationQuality::TakePartFields()
{
    m_part = {m_panel->edPartName->text(), m_panel->edPartSerial->text(), m_panel->edOperator->text()};
}

void TStationQuality::Reload()
{
    m_panel->edPartName->setText(m_part.partName);
    m_panel->edPartSerial->setText(m_part.serialNumber);
    m_panel->edOperator->setText(m_part.operatorName);
    m_plan.Stop();
    m_kept = false;
    Evaluate();
    ShowGuide();
    const TFileResult loaded = m_history.Load(HistoryFile());
    if (!loaded.Ok())
        m_dialogs.ShowMessage(loaded.message);
    for (const QString &warning : loaded.warnings)
        m_dialogs.ShowMessage(warning);
    ShowStatistics();
}

void TStationQuality::Clear()
{
    m_plan.Stop();
    m_kept = false;
    m_characteristics.Clear();
    m_part = {};
    m_history.Clear();
    Reload();
}

bool TStationQuality::KeepPart()
{
    TakePartFields();
    if (!m_projectName || m_projectName().trimmed().isEmpty()) {
        m_dialogs.ShowMessage(QStringLiteral("Please enter a project name"));
        return false;
    }
    Evaluate();
    const TPartResults part{m_part.serialNumber.trimmed(),
                            TResultsHistory::TimeText(QDateTime::currentDateTime()),
                            m_part.operatorName.trimmed(), m_characteristics.Actuals()};
    const TFileResult appended = m_history.Append(HistoryFile(), m_characteristics.HistoryColumns(), part);
    if (!appended.Ok()) {
        m_dialogs.ShowError(appended.message);
        return false;
    }
    for (const QString &warning : appended.warnings)
        m_dialogs.ShowMessage(warning);
    m_kept = true;
    m_keptSerial = part.serialNumber;
    ShowStatistics();
    Tell(tr("Part %1 kept in the results history (%n part(s))", nullptr, m_history.Parts().size())
             .arg(part.serialNumber));
    return true;
}

void TStationQuality::NextPart()
{
    TakePartFields();
    if (m_characteristics.Count() == 0) {
        m_dialogs.ShowMessage(
            tr("There are no characteristics to measure the next part by: add them first."));
        return;
    }
    const QString serial = m_part.serialNumber.trimmed();
    const TCharacteristicRegister::TSummary summary = m_characteristics.Summary();
    const bool keepFirst = !m_kept && summary.missing < summary.total;
    if (serial.isEmpty()) {
        m_dialogs.ShowMessage(keepFirst ? tr("Enter this part's serial number in \"Serial\" first.")
                                        : tr("Enter the next part's serial number in \"Serial\" first."));
        m_panel->edPartSerial->setFocus();
        return;
    }
    if (!keepFirst && m_kept && serial == m_keptSerial) {
        m_dialogs.ShowMessage(tr("Part %1 is in the history already: enter the next part's serial number in "
                                 "\"Serial\" first.")
                                  .arg(serial));
        m_panel->edPartSerial->selectAll();
        m_panel->edPartSerial->setFocus();
        return;
    }
    QString problem;
    TGuidedPlan plan(m_features, m_points.Data());
    if (!plan.Start(&problem)) {
        m_dialogs.ShowMessage(problem);
        return;
    }
    if (m_hooks.mayDiscardWork && !m_hooks.mayDiscardWork())
        return;
    if (keepFirst && !KeepPart())
        return;
    // The part just kept took the serial number; the next one is typed while it is measured.
    if (keepFirst)
        m_panel->edPartSerial->clear();
    TakePartFields();
    if (m_hooks.clearPoints)
        m_hooks.clearPoints();
    m_plan.Start();
    m_kept = false;
    Evaluate();
    ShowGuide();
    Tell(keepFirst ? tr("Next part: enter its serial number, then measure %1").arg(m_plan.CurrentName())
                   : tr("Part %1: measure %2").arg(serial, m_plan.CurrentName()));
}

void TStationQuality::FillReport(TReportContent &content)
{
    Evaluate();
    TakePartFields();
    content.characteristics = &m_characteristics.Table();
    content.part = m_part;
    const TCharacteristicRegister::TSummary summary = m_characteristics.Summary();
    content.summary = summary.total > 0 ? summary.Text() : QString();
    content.overall = summary.Overall();
}
