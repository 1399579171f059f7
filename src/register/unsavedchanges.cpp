#include "register/unsavedchanges.h"

#include "common/operatordialogs.h"
#include "register/texttable.h"

#include <algorithm>

TUnsavedChanges::TUnsavedChanges(const QList<TTextTable *> &tables) : m_tables(tables)
{
    for (TTextTable *table : tables) {
        const auto changed = [this] { m_changed = true; };
        QObject::connect(table, &QAbstractItemModel::dataChanged, &m_context, changed);
        QObject::connect(table, &QAbstractItemModel::modelReset, &m_context, changed);
    }
}

bool TUnsavedChanges::HasChanges() const
{
    return m_changed && std::any_of(m_tables.begin(), m_tables.end(),
                                    [](const TTextTable *table) { return !table->IsRowFree(1); });
}

bool TUnsavedChanges::MayDiscard(TOperatorDialogs &dialogs, const std::function<bool()> &save) const
{
    if (!HasChanges())
        return true;
    switch (
        dialogs.AskYesNoCancel(QStringLiteral("Save current data?"), TOperatorDialogs::TStyle::Information)) {
    case TOperatorDialogs::TAnswer::Yes:
        return save();
    case TOperatorDialogs::TAnswer::No:
        return true;
    case TOperatorDialogs::TAnswer::Cancel:
        break;
    }
    return false;
}
