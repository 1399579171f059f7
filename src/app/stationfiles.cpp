#include "app/stationfiles.h"

#include "app/projectname.h"
#include "common/globalprocedures.h"
#include "common/operatordialogs.h"
#include "files/projectfile.h"
#include "journal/journal.h"
#include "plots/plotviews.h"
#include "register/pointregister.h"
#include "register/unsavedchanges.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTableView>

TStationFiles::TStationFiles(TPointRegister &pointRegister, TPlotViews &views, TOperatorDialogs &dialogs,
                             TWindow window, QObject *parent)
    : QObject(parent), m_register(pointRegister), m_views(views), m_dialogs(dialogs),
      m_window(std::move(window))
{}

void TStationFiles::SetDialogPlace(const QString &folder, const QString &filter)
{
    m_dialogFolder = folder;
    m_dialogFilter = filter;
}

TFileTables TStationFiles::FileTables()
{
    return TFileTables{
        m_register.Data(),
        m_register.Distances(),
        m_register.Angles(),
        [this](const QString &x, const QString &y, const QString &z) { return m_views.PlotPoint(x, y, z); },
        [this] { m_views.ClearAllSeries(); },
        m_features,
        m_approaches,
        m_inspection,
        m_alignments};
}

bool TStationFiles::Report(const TFileResult &result)
{
    switch (result.status) {
    case TFileResult::TStatus::Done:
        for (const QString &warning : result.warnings)
            m_dialogs.ShowMessage(warning);
        return true;
    case TFileResult::TStatus::NoProjectName:
    case TFileResult::TStatus::RefusedName:
        m_dialogs.ShowMessage(result.message);
        if (m_window.focusProjectName)
            m_window.focusProjectName();
        return false;
    case TFileResult::TStatus::Failed:
        m_dialogs.ShowError(result.message);
        return false;
    }
    return false;
}

bool TStationFiles::MayDiscardWork()
{
    return !m_changes || m_changes->MayDiscard(m_dialogs, [this] { return btnSaveAllClick(); });
}

void TStationFiles::ReportDone(const QString &what, const QString &fileName)
{
    if (!m_statusReport)
        return;
    const QDir workingDirectory = QFileInfo(QDir::fromNativeSeparators(m_window.dataDirectory())).dir();
    m_statusReport(what.arg(QDir::toNativeSeparators(workingDirectory.relativeFilePath(fileName))),
                   QDir::toNativeSeparators(fileName));
}

bool TStationFiles::MayReplace(const QString &fileName)
{
    const QFileInfo file(fileName);
    if (!file.exists())
        return true;
    const auto held = TProjectFile::Peek(fileName);
    const int points = held ? held->points : 0;
    const QString name = file.completeBaseName();
    QString question;
    if (!m_ownFiles.contains(file.absoluteFilePath())) {
        question = tr("A project named %1 already exists (%2 points, filed on %3). Replace it?")
                       .arg(name)
                       .arg(points)
                       .arg(held && !held->filedOn.isEmpty() ? held->filedOn : tr("an unknown date"));
    } else if (points > 0 && m_register.Data().FilledRowCount() == 0) {
        question = tr("Replace %1, which holds %2 points, with an empty project?").arg(name).arg(points);
    }
    if (question.isEmpty() || m_dialogs.AskYesNo(question, TOperatorDialogs::TStyle::Warning))
        return true;
    ReportDone(tr("Not saved: %1 was kept as it was, nothing was written"), file.absoluteFilePath());
    return false;
}

bool TStationFiles::btnSaveAllClick()
{
    const QString name = m_window.projectName();
    if (!TrimControls(name).isEmpty() && TProjectFile::CheckProjectName(name).isEmpty() &&
        !MayReplace(TProjectFile::FilePath(m_window.dataDirectory(), name)))
        return false;
    const TProjectFile file(FileTables());
    const TFileResult result = file.Save(m_window.dataDirectory(), name,
                                         DefaultProjectName(QDateTime::currentDateTime(), QLocale::system()));
    if (!Report(result))
        return false;
    m_ownFiles.insert(QFileInfo(result.fileName).absoluteFilePath());
    if (m_changes)
        m_changes->MarkSaved();
    if (m_journal)
        m_journal->Settled();
    ReportDone(tr("Saved to %1"), result.fileName);
    return true;
}

void TStationFiles::btnLoadAllClick()
{
    if (!MayDiscardWork())
        return;
    const auto fileName = m_dialogs.OpenFileName({}, m_dialogFolder, m_dialogFilter);
    if (!fileName)
        return;
    TFileResult result;
    {
        // The loaded project is on disk already: the journal starts again with the next change.
        TJournal::TPause pause(m_journal);
        TProjectFile file(FileTables());
        result = file.Load(*fileName);
        if (result.Ok()) {
            if (result.pointCount)
                m_register.SetPointCount(*result.pointCount);
            if (result.projectName)
                m_window.setProjectName(*result.projectName);
            if (m_featuresLoaded)
                m_featuresLoaded();
            if (m_inspectionLoaded)
                m_inspectionLoaded();
            m_ownFiles.insert(QFileInfo(result.fileName).absoluteFilePath());
            if (m_journal)
                m_journal->Settled();
        }
    }
    if (Report(result)) {
        if (m_changes)
            m_changes->MarkSaved();
        ReportDone(tr("Loaded %1"), result.fileName);
    }
}

bool TStationFiles::WriteTableFile(TTableFile::TKind kind)
{
    const auto fileName = m_dialogs.SaveFileName(TTableFile::SaveTitle(kind), m_dialogFolder,
                                                 TTableFile::DialogFilter(m_dialogFilter));
    if (!fileName)
        return true;
    const TTableFile file(FileTables());
    return Report(file.Save(kind, *fileName));
}

void TStationFiles::btnSaveClick()
{
    // A cancelled dialog skips only its own file; a failed write ends the whole operation.
    for (TTableFile::TKind kind :
         {TTableFile::TKind::Coordinates, TTableFile::TKind::Distances, TTableFile::TKind::Angles})
        if (!WriteTableFile(kind))
            return;
}

void TStationFiles::LoadTableFile(TTableFile::TKind kind)
{
    const auto fileName =
        m_dialogs.OpenFileName({}, m_dialogFolder, TTableFile::DialogFilter(m_dialogFilter));
    if (!fileName)
        return;
    TFileResult result;
    {
        // The whole table is one change of the journal, on the disk before any box shows it.
        TJournal::TBatch batch(m_journal);
        TTableFile file(FileTables());
        result = file.Load(kind, *fileName);
        if (result.Ok() && result.pointCount)
            m_register.SetPointCount(*result.pointCount);
    }
    Report(result);
}

void TStationFiles::AddTableFileActions(QTableView *view, TTableFile::TKind kind)
{
    auto *save = new QAction(tr("Save to file..."), view);
    save->setObjectName(view->objectName() + QStringLiteral("SaveToFile"));
    connect(save, &QAction::triggered, this, [this, kind] { WriteTableFile(kind); });
    auto *load = new QAction(tr("Load from file..."), view);
    load->setObjectName(view->objectName() + QStringLiteral("LoadFromFile"));
    connect(load, &QAction::triggered, this, [this, kind] { LoadTableFile(kind); });
    view->addAction(save);
    view->addAction(load);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TStationFiles::Wire(const TControls &controls)
{
    connect(controls.loadAll, &QPushButton::clicked, this, &TStationFiles::btnLoadAllClick);
    connect(controls.saveAll, &QPushButton::clicked, this, &TStationFiles::btnSaveAllClick);
    for (QPushButton *button : controls.saveTables)
        connect(button, &QPushButton::clicked, this, &TStationFiles::btnSaveClick);
    using TKind = TTableFile::TKind;
    const std::array kinds{TKind::Coordinates, TKind::Distances, TKind::Angles};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const TKind kind = kinds[i];
        connect(controls.tableSaves[i], &QPushButton::clicked, this, [this, kind] { WriteTableFile(kind); });
        connect(controls.tableLoads[i], &QPushButton::clicked, this, [this, kind] { LoadTableFile(kind); });
        AddTableFileActions(controls.tables[i], kind);
    }
}
