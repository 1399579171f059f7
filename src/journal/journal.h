#pragma once

#include "common/stationtypes.h"
#include "journal/journalfile.h"
#include "journal/journalreader.h"
#include "register/texttable.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

// The work journal: every change to the tables registered with it, to the recorded-point marks and to
// the registered values (the project name, PointCount) goes to the journal file before the station
// shows it. A change is one or more lines closed by an "S" line with the time it was shown; one write
// and one sync per change.
//
//   H  QintarSoft journal, version, start of the run       (first line)
//   T  table, row, cells...    a data row written          D  table, row   a row deleted, rows below move up
//   C  table                   the data rows emptied       V  key, text    a value
//   M  x, y, z                 a recorded-point mark       E               every mark removed
//   S  time shown
//
// The file is made at the first change after start-up or after Settled, and opens with the whole
// state (every table row, mark and value), so that it alone rebuilds the work. Any table joins by
// AddTable: its edits are journalled from then on and restored by name.
class TJournal : public QObject
{
    Q_OBJECT

public:
    // The recorded-point marks of the views, in the order they were added.
    struct TMarks
    {
        std::function<QList<TPoint3>()> all;
        std::function<void(TPoint3)> add;
        std::function<void()> clear;
    };

    // What a journal's changes rebuild, counted before they are applied.
    struct TSummary
    {
        // Filled data rows of each table, by the names the journal gives them.
        QMap<QString, int> rows;
        int marks = 0;
        qint64 shownAt = 0;
        bool IsEmpty() const;
    };

    explicit TJournal(QObject *parent = nullptr);

    void AddTable(const QString &name, TTextTable &table);
    void AddValue(const QString &key, std::function<QString()> get, std::function<void(const QString &)> set);
    void SetMarks(TMarks marks) { m_marks = std::move(marks); }
    // The views tell of each recorded-point mark added, and of their emptying.
    void MarkAdded(TPoint3 point);
    void MarksCleared();

    // Where this run's journal goes once there is a change to keep.
    void SetFileName(const QString &fileName) { m_fileName = fileName; }
    QString FileName() const { return m_fileName; }
    bool IsOpen() const { return m_file.IsOpen(); }
    // Told once when the journal cannot be written (and again after it could be written once more).
    void SetFailureReport(std::function<void(const QString &)> report)
    {
        m_failureReport = std::move(report);
    }

    // Changes made while a batch is open are written together when the last open batch closes.
    class TBatch
    {
    public:
        explicit TBatch(TJournal *journal);
        ~TBatch();
        TBatch(const TBatch &) = delete;
        TBatch &operator=(const TBatch &) = delete;

    private:
        TJournal *m_journal;
    };
    // While a pause is open nothing is journalled: a project load, whose Settled follows.
    class TPause
    {
    public:
        explicit TPause(TJournal *journal);
        ~TPause();
        TPause(const TPause &) = delete;
        TPause &operator=(const TPause &) = delete;

    private:
        TJournal *m_journal;
    };

    // The work as it stands is safe (saved, loaded, or emptied on purpose): the journal file goes, and
    // the next change starts a new one.
    void Settled();
    // The station closes for good: the journal file goes.
    void Close() { Settled(); }

    TSummary Summarize(const TJournalContents &contents) const;
    // Rebuilds the registered tables, marks and values from the changes, without journalling them,
    // then writes the rebuilt state as this run's journal.
    void Restore(const TJournalContents &contents);

private:
    struct TTable
    {
        QString name;
        TTextTable *table;
    };
    struct TValue
    {
        QString key;
        std::function<QString()> get;
        std::function<void(const QString &)> set;
        QString written;
    };
    // Where replayed changes land: the registered objects, or scratch copies for a summary.
    struct TTarget
    {
        std::function<TTextTable *(const QString &)> table;
        std::function<void(TPoint3)> addMark;
        std::function<void()> clearMarks;
        std::function<void(const QString &, const QString &)> setValue;
    };

    void TableEdited(const QString &name, const TTextTable &table, TTextTable::TEdit edit, int row);
    void Add(QStringList op);
    void Commit();
    bool StateIsEmpty() const;
    QByteArray Snapshot();
    QByteArray ValueLines(bool all);
    static void Replay(const TJournalContents &contents, const TTarget &target);

    QList<TTable> m_tables;
    QList<TValue> m_values;
    TMarks m_marks;
    QString m_fileName;
    TJournalFile m_file;
    QList<QStringList> m_pending;
    int m_batches = 0;
    int m_pauses = 0;
    bool m_failed = false;
    std::function<void(const QString &)> m_failureReport;
};
