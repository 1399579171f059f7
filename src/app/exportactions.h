#pragma once

#include "common/calibration.h"
#include "files/fileresult.h"
#include "files/tablefile.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

struct TReportContent;

class QAction;
class QWidget;
class TFeatureRegister;
class TOperatorDialogs;
class TTextTable;

// What the exports read from the window when they run.
struct TExportSources
{
    const TTextTable &data;
    const TTextTable &distances;
    const TTextTable &angles;
    // The project name as typed, and the folder the save dialogs open in.
    std::function<QString()> projectName;
    std::function<QString()> folder;
    // "Calibrated" and "Off Line Calibration Test" down, and the calibration in force.
    std::function<bool()> calibrated;
    std::function<bool()> offLineCalibrationTest;
    std::function<TCalibration()> calibration;
    // The features table: its CSV, its circles and lines in the drawing, its rows in the report.
    const TFeatureRegister *features = nullptr;
};

// The "Export..." and "Report..." entries of the tables' and the views' context menus, and what they
// do. Export offers the three tables as CSV and the drawing as DXF in one save dialog, starting on the
// table whose menu was opened (on the drawing from a view), and the features table as CSV when there
// is one; Report writes the PDF measurement report
// with pictures of the four views. The dialog proposes the project name with the format's extension in
// the window's dialog folder; failures and rows left out reach the operator through TOperatorDialogs.
class TExportActions : public QObject
{
    Q_OBJECT

public:
    enum class TFormat
    {
        PointsCsv,
        DistancesCsv,
        AnglesCsv,
        Dxf,
        FeaturesCsv,
    };

    static inline const QKeySequence ExportShortcut = QKeySequence(Qt::CTRL | Qt::Key_E);
    static inline const QKeySequence ReportShortcut = QKeySequence(Qt::CTRL | Qt::Key_R);

    TExportActions(TExportSources sources, TOperatorDialogs &dialogs, QObject *parent = nullptr);

    // Adds the entries to a table's context menu (the table shows its actions as its menu). Its
    // shortcut works while the table has the focus.
    void AddToTable(QWidget *table, TTableFile::TKind kind);
    // Adds the entries to the four views' context menus and takes the views as the report's pictures.
    // Export's shortcut works while a view has the focus; Report's anywhere in the window.
    void AddToViews(const std::array<QWidget *, 4> &views);
    // Adds the entries to the features table's context menu; its Export starts on the features' CSV.
    void AddToFeatures(QWidget *table);

    // The export dialog, starting on a table's CSV or (none) on the drawing.
    void Export(std::optional<TTableFile::TKind> startWith);
    void ExportStartingOn(TFormat startedOn);
    void Report();

    // Adds what other parts of the station have to say to the report (the inspection) before it is written.
    void SetReportFiller(std::function<void(TReportContent &)> filler) { m_reportFiller = std::move(filler); }
    // Where a finished export or report is told: a short text naming the file, and its full path.
    void SetStatusReport(std::function<void(const QString &text, const QString &detail)> report)
    {
        m_statusReport = std::move(report);
    }

    // The save dialog's filters, in the order of TFormat (the features' last, offered only with a
    // features table).
    static QStringList ExportFilters(bool features = false);
    // What to write for a name chosen with a filter: the name's own extension wins (".csv" keeps a
    // CSV filter chosen, or else the table the dialog started on; ".dxf" is the drawing), a name
    // without a known one takes the filter.
    static TFormat ChosenFormat(const QString &fileName, qsizetype filter, TFormat startedOn);
    // The project name made fit for a file name (blanks trimmed, characters that no file system takes
    // replaced by "_"), or empty.
    static QString FileNameOf(const QString &projectName);

private:
    QString ProposedFile(const QString &suffix) const;
    void Tell(const TFileResult &result, const QString &done);

    TExportSources m_sources;
    TOperatorDialogs &m_dialogs;
    QAction *m_report = nullptr;
    QAction *m_viewExport = nullptr;
    std::array<QWidget *, 4> m_views{};
    std::function<void(const QString &, const QString &)> m_statusReport;
    std::function<void(TReportContent &)> m_reportFiller;
};
