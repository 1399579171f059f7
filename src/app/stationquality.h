#pragma once

#include "files/qualitysection.h"
#include "files/resultshistory.h"
#include "register/characteristicregister.h"
#include "register/guidedplan.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>

class QPushButton;
class QWidget;
struct TReportContent;
class TCharacteristicColours;
class TCharacteristicsPanel;
class TFeatureRegister;
class TOperatorDialogs;
class TPointRegister;
class TStationFeatures;

// The window's inspection: the characteristics of the features window judged whenever the features
// change, the part's fields kept with the project, the "Report" button, and "Next part", which keeps
// the part's results in the project's results history; the selected characteristic's run chart and
// statistics over that history, and the batch report. Messages go through the operator's dialogs.
class TStationQuality : public QObject
{
    Q_OBJECT

public:
    // The characteristics panel goes below the features window's table; btnReport goes on window at its
    // reserved place.
    TStationQuality(TFeatureRegister &features, TPointRegister &points, TStationFeatures &stationFeatures,
                    TOperatorDialogs &dialogs, QWidget &window);

    TCharacteristicRegister &Characteristics() { return m_characteristics; }
    TInspectionTables &Tables() { return m_tables; }
    TCharacteristicsPanel *Panel() const { return m_panel; }
    const TResultsHistory &History() const { return m_history; }

    // What "Report" writes; given by the window's exports.
    void SetReportAction(std::function<void()> report) { m_report = std::move(report); }
    // The project's name and data folder, for the history file.
    void SetProject(std::function<QString()> projectName, std::function<QString()> dataDirectory);
    void SetStatusReport(std::function<void(const QString &)> report) { m_statusReport = std::move(report); }

    // The report's characteristics, summary, part fields and overall result.
    void FillReport(TReportContent &content);
    // After a project load: the part's fields into their edits, the results judged again and the
    // project's history read.
    void Reload();
    // Clear and New: no characteristics, no part fields.
    void Clear();
    // Judges every characteristic from the features as they now are.
    void Evaluate();
    // Writes the batch report of the project's results history into the data folder and tells where;
    // an empty history is told and nothing is written.
    void WriteBatchReport();
    static inline const QKeySequence BatchReportShortcut = QKeySequence(Qt::CTRL | Qt::Key_B);
    // A point the device recorded, by its number, after it went into the point table: it joins the
    // guided feature while a plan runs.
    void PointRecorded(int number);
    const TGuidedPlan &Plan() const { return m_plan; }

    // What Next part needs of the window: the unsaved-work question (true when the operator may go
    // on), and emptying the point table with its distances, angles and views.
    struct TWindowHooks
    {
        std::function<bool()> mayDiscardWork;
        std::function<void()> clearPoints;
    };
    void SetWindowHooks(TWindowHooks hooks) { m_hooks = std::move(hooks); }

private:
    void FeatureSelectionChanged();
    void AddCharacteristic();
    void DeleteSelected();
    void NextPart();
    // Appends the part in hand to the history under the serial number of edPartSerial.
    bool KeepPart();
    void ShowGuide();
    void PlanStepped();
    TCharacteristicRegister::TLookup Lookup() const;
    void TakePartFields();
    void ShowSummary();
    // The run chart and the statistics of the characteristic selected in the table.
    void ShowStatistics();
    void Tell(const QString &text);
    QString HistoryFile() const;

    TCharacteristicRegister m_characteristics;
    TPartFields m_part;
    TInspectionTables m_tables{m_characteristics.Table(), m_part};
    TResultsHistory m_history;
    TGuidedPlan m_plan;
    // The part in hand is in the history already, under this serial number.
    bool m_kept = false;
    QString m_keptSerial;
    TWindowHooks m_hooks;
    TFeatureRegister &m_features;
    TPointRegister &m_points;
    TStationFeatures &m_stationFeatures;
    TOperatorDialogs &m_dialogs;
    TCharacteristicsPanel *m_panel = nullptr;
    TCharacteristicColours *m_colours = nullptr;
    QPushButton *m_button = nullptr;
    bool m_evaluationDue = false;
    std::function<void()> m_report;
    std::function<QString()> m_projectName;
    std::function<QString()> m_dataDirectory;
    std::function<void(const QString &)> m_statusReport;
};
