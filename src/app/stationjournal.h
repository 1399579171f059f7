#pragma once

#include "journal/journal.h"

#include <QDateTime>
#include <QString>
#include <functional>

class TOperatorDialogs;
class TPlotViews;
class TPointRegister;

// The station's side of the work journal: the file this run journals into (a hidden file in the Data
// folder, named after the run's start and process so that two stations in one folder keep apart), and
// the journals that earlier runs left behind when they were killed, crashed or lost power. Those are
// offered back at start-up; one the operator declines, or one that cannot be read, is kept beside the
// projects under a name with its date, never deleted without a word. A journal that a running station
// holds is left alone.
class TStationJournal
{
public:
    static inline const QString FilePrefix = QStringLiteral(".qintarsoft-");
    static inline const QString FileSuffix = QStringLiteral(".journal");
    static inline const QString AsideSuffix = QStringLiteral(".qjl");

    TStationJournal(TOperatorDialogs &dialogs, const QString &dataDirectory);

    TJournal &Journal() { return m_journal; }
    // Journals the register's three tables ("points", "distances", "angles"), the views' recorded
    // points, the project name and PointCount. A deletion from the point table, and a restore, turn
    // the marks of points no longer in it hollow.
    void Watch(TPointRegister &pointRegister, TPlotViews &views, std::function<QString()> projectName,
               std::function<void(const QString &)> setProjectName);

    // Where the station tells what became of a journal set aside (the status line).
    void SetStatusReport(std::function<void(const QString &)> report) { m_statusReport = std::move(report); }

    // The hidden journal file of a run started at start by process pid.
    static QString RunFileName(const QString &dataDirectory, const QDateTime &start, qint64 pid);
    // "Data/Journal 2026-12-10 00.15.40.qjl": the name a journal is kept under, with the date of its
    // work; " (2)" and on when that name is taken.
    static QString AsideFileName(const QString &dataDirectory, const QDateTime &work);
    // The question for a journal of this work.
    static QString RestoreQuestion(const TJournal::TSummary &summary);

    // Offers back each journal an earlier run left, the newest first, until one is restored; true
    // when one was.
    bool OfferLeftOvers();

private:
    // Moves the journal beside the projects; the name it got, or empty when it could not be moved.
    QString SetAside(const QString &fileName, const QDateTime &work);
    void Tell(const QString &text);
    void ShowDeletedMarks();

    TJournal m_journal;
    TPointRegister *m_register = nullptr;
    TPlotViews *m_views = nullptr;
    TOperatorDialogs &m_dialogs;
    QString m_dataDirectory;
    std::function<void(const QString &)> m_statusReport;
};
