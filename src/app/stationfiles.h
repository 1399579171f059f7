#pragma once

#include "files/fileresult.h"
#include "files/filetables.h"
#include "files/tablefile.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <array>
#include <functional>

class QPushButton;
class QTableView;
class TOperatorDialogs;
class TPlotViews;
class TPointRegister;
class TJournal;
class TTextTable;
class TUnsavedChanges;

// The project and table files behind the Project group's Load and Save, the table-file buttons and
// the tables' context menus: each asks through the operator's dialogs, reads or writes through
// TProjectFile or TTableFile, and tells the operator what he has to know.
class TStationFiles : public QObject
{
    Q_OBJECT

public:
    // The project name box of the window, and the folder project files go to.
    struct TWindow
    {
        std::function<QString()> projectName;
        std::function<void(const QString &)> setProjectName;
        std::function<QString()> dataDirectory;
        // After "Please enter a project name": the keyboard goes to the name box.
        std::function<void()> focusProjectName;
    };

    TStationFiles(TPointRegister &pointRegister, TPlotViews &views, TOperatorDialogs &dialogs, TWindow window,
                  QObject *parent = nullptr);

    // The open and save dialogs' folder and filter, given by start-up.
    void SetDialogPlace(const QString &folder, const QString &filter);
    // The work a project save or load settles, and where a save or load says what it did.
    void SetUnsavedChanges(TUnsavedChanges *changes) { m_changes = changes; }
    // The work journal, which a project save or load settles and a table-file load joins as one change.
    void SetJournal(TJournal *journal) { m_journal = journal; }
    void SetStatusReport(std::function<void(const QString &text, const QString &detail)> report)
    {
        m_statusReport = std::move(report);
    }
    // The features table the project file keeps, and what to do once a project load has replaced it.
    void SetFeatures(TTextTable *features, std::function<void()> loaded)
    {
        m_features = features;
        m_featuresLoaded = std::move(loaded);
    }
    // The approach directions of the recorded points, kept with the features.
    void SetApproaches(TTextTable *approaches) { m_approaches = approaches; }
    // The part alignments' own texts, kept with the features too.
    void SetAlignments(TTextTable *alignments) { m_alignments = alignments; }
    // The inspection the project file keeps after the features; loaded is called after a load.
    void SetInspection(TInspectionTables *inspection, std::function<void()> loaded)
    {
        m_inspection = inspection;
        m_inspectionLoaded = std::move(loaded);
    }
    // Asks "Save current data?" when there is unsaved work; true when the operator may go on.
    bool MayDiscardWork();
    QString DialogFolder() const { return m_dialogFolder; }

    // The project "Save" button; true when the file was written.
    bool btnSaveAllClick();
    void btnLoadAllClick();
    // One table file through the save dialog; false when writing failed (a cancel is no failure).
    bool WriteTableFile(TTableFile::TKind kind);
    void btnSaveClick();
    void LoadTableFile(TTableFile::TKind kind);
    // "Save to file..." and "Load from file..." in the table's context menu.
    void AddTableFileActions(QTableView *view, TTableFile::TKind kind);

    // The window's file buttons and tables; the arrays in the order Coordinates, Distances, Angles.
    struct TControls
    {
        QPushButton *loadAll;
        QPushButton *saveAll;
        // Buttons that save all three tables, one file each.
        std::array<QPushButton *, 3> saveTables;
        std::array<QPushButton *, 3> tableSaves;
        std::array<QPushButton *, 3> tableLoads;
        std::array<QTableView *, 3> tables;
    };
    // Connects the buttons and gives each table its file actions.
    void Wire(const TControls &controls);

private:
    TFileTables FileTables();
    // Shows what the operator has to know of a file operation; true when it was done.
    bool Report(const TFileResult &result);
    // "Saved to Data/bracket A.prj": the file relative to the working directory, the full path as detail.
    void ReportDone(const QString &what, const QString &fileName);
    // Before a save replaces fileName: asks when the file is not this run's own, or when an empty
    // project would replace one with points. False when the operator keeps the file.
    bool MayReplace(const QString &fileName);

    TPointRegister &m_register;
    TPlotViews &m_views;
    TOperatorDialogs &m_dialogs;
    TWindow m_window;
    QString m_dialogFolder;
    QString m_dialogFilter;
    TUnsavedChanges *m_changes = nullptr;
    TJournal *m_journal = nullptr;
    // Project files this run loaded or saved: saving over them again asks nothing.
    QSet<QString> m_ownFiles;
    std::function<void(const QString &, const QString &)> m_statusReport;
    TTextTable *m_features = nullptr;
    TTextTable *m_approaches = nullptr;
    TTextTable *m_alignments = nullptr;
    std::function<void()> m_featuresLoaded;
    TInspectionTables *m_inspection = nullptr;
    std::function<void()> m_inspectionLoaded;
};
