#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

// One change as the station showed it: the journal lines written for it (each a list of fields, the
// kind first) and when it was shown, in milliseconds since the epoch.
struct TJournalChange
{
    QList<QStringList> ops;
    qint64 shownAt = 0;
};

// What a journal file holds. Reading stops at the first line that fails its checksum; a change whose
// closing line is missing is not taken, so a journal cut by a crash gives every change before the cut.
struct TJournalContents
{
    enum class TState
    {
        // Nothing at all: the station stopped before its first change was written.
        Empty,
        // The file does not begin with a journal's first line: it is no journal, or not this version.
        NotAJournal,
        // Every line read, the last change closed.
        Complete,
        // The last line, or the last change, was cut short: a crash during its writing.
        TornTail,
        // A bad line with good ones after it: the file was damaged; the changes before it are taken.
        Damaged,
    };

    TState state = TState::Empty;
    QList<TJournalChange> changes;
    // When the run that wrote the journal started (milliseconds since the epoch).
    qint64 startedAt = 0;
    // Lines after the last change taken that could not be used.
    qsizetype unusedLines = 0;

    bool HasWork() const { return !changes.isEmpty(); }
};

class TJournalReader
{
public:
    static inline const QString Magic = QStringLiteral("QintarSoft journal");
    static inline const QString Version = QStringLiteral("1");

    static TJournalContents Read(QByteArrayView bytes);
};
