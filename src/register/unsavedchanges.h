#pragma once

#include <QList>
#include <QObject>
#include <functional>

class TOperatorDialogs;
class TTextTable;

// Whether the tables hold work that a New, Clear, Load or closing would lose: any change to a data
// cell of the point, distance or angle table (a recorded, deleted or derived row, a loaded table file)
// counts until the project is saved or loaded. Header texts are not work.
class TUnsavedChanges
{
public:
    explicit TUnsavedChanges(const QList<TTextTable *> &tables);
    TUnsavedChanges(const TUnsavedChanges &) = delete;
    TUnsavedChanges &operator=(const TUnsavedChanges &) = delete;

    // True when a table changed since the last MarkSaved and some table still holds a row worth
    // keeping (emptied tables have nothing to save).
    bool HasChanges() const;
    // A project save wrote its file, or a project load succeeded.
    void MarkSaved() { m_changed = false; }

    // Before New, Clear or a project load: with changes, asks "Save current data?" (Yes, No, Cancel).
    // Yes runs save (the project Save) and goes on only when it wrote the file; No goes on; Cancel,
    // or closing the box, keeps everything. Without changes nothing is asked.
    bool MayDiscard(TOperatorDialogs &dialogs, const std::function<bool()> &save) const;

private:
    QList<TTextTable *> m_tables;
    bool m_changed = false;
    // Owns the connections to the tables, so they end with the tracker.
    QObject m_context;
};
