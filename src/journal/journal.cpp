#include "journal/journal.h"

#include "journal/journalline.h"

#include <QDateTime>
#include <memory>

namespace {

QString MarkNumber(float value)
{
    // Nine significant digits give the float back exactly.
    return QString::number(double(value), 'g', 9);
}

QStringList RowOp(const QString &table, int row, const QStringList &cells)
{
    return QStringList{QStringLiteral("T"), table, QString::number(row)} + cells;
}

} // namespace

bool TJournal::TSummary::IsEmpty() const
{
    for (const int count : rows)
        if (count > 0)
            return false;
    return marks == 0;
}

TJournal::TJournal(QObject *parent) : QObject(parent) {}

TJournal::TBatch::TBatch(TJournal *journal) : m_journal(journal)
{
    if (m_journal)
        ++m_journal->m_batches;
}

TJournal::TBatch::~TBatch()
{
    if (m_journal && --m_journal->m_batches == 0)
        m_journal->Commit();
}

TJournal::TPause::TPause(TJournal *journal) : m_journal(journal)
{
    if (m_journal)
        ++m_journal->m_pauses;
}

TJournal::TPause::~TPause()
{
    if (m_journal)
        --m_journal->m_pauses;
}

void TJournal::AddTable(const QString &name, TTextTable &table)
{
    m_tables.append({name, &table});
    connect(&table, &TTextTable::Edited, this,
            [this, name, &table](TTextTable::TEdit edit, int row) { TableEdited(name, table, edit, row); });
}

void TJournal::AddValue(const QString &key, std::function<QString()> get,
                        std::function<void(const QString &)> set)
{
    m_values.append({key, std::move(get), std::move(set), {}});
}

void TJournal::TableEdited(const QString &name, const TTextTable &table, TTextTable::TEdit edit, int row)
{
    switch (edit) {
    case TTextTable::TEdit::Row:
        Add(RowOp(name, row, table.RowTexts(row)));
        break;
    case TTextTable::TEdit::Delete:
        Add({QStringLiteral("D"), name, QString::number(row)});
        break;
    case TTextTable::TEdit::Clear:
        Add({QStringLiteral("C"), name});
        break;
    }
}

void TJournal::MarkAdded(TPoint3 point)
{
    Add({QStringLiteral("M"), MarkNumber(point.x), MarkNumber(point.y), MarkNumber(point.z)});
}

void TJournal::MarksCleared()
{
    Add({QStringLiteral("E")});
}

void TJournal::Add(QStringList op)
{
    if (m_pauses > 0)
        return;
    m_pending.append(std::move(op));
    if (m_batches == 0)
        Commit();
}

bool TJournal::StateIsEmpty() const
{
    for (const TTable &table : m_tables)
        if (table.table->LastUsedRow() > 0 && table.table->FilledRowCount() > 0)
            return false;
    return !m_marks.all || m_marks.all().isEmpty();
}

QByteArray TJournal::ValueLines(bool all)
{
    QByteArray lines;
    for (TValue &value : m_values) {
        const QString now = value.get ? value.get() : QString();
        if (!all && now == value.written)
            continue;
        lines += TJournalLine::Encode({QStringLiteral("V"), value.key, now});
        value.written = now;
    }
    return lines;
}

QByteArray TJournal::Snapshot()
{
    QByteArray bytes = TJournalLine::Encode({TJournalReader::Magic, TJournalReader::Version,
                                             QString::number(QDateTime::currentMSecsSinceEpoch())});
    for (const TTable &table : m_tables) {
        bytes += TJournalLine::Encode({QStringLiteral("C"), table.name});
        for (int row = 1; row <= table.table->LastUsedRow(); ++row)
            if (!table.table->IsRowFree(row))
                bytes += TJournalLine::Encode(RowOp(table.name, row, table.table->RowTexts(row)));
    }
    bytes += TJournalLine::Encode({QStringLiteral("E")});
    if (m_marks.all)
        for (const TPoint3 &mark : m_marks.all())
            bytes += TJournalLine::Encode(
                {QStringLiteral("M"), MarkNumber(mark.x), MarkNumber(mark.y), MarkNumber(mark.z)});
    bytes += ValueLines(true);
    return bytes;
}

void TJournal::Commit()
{
    if (m_pauses > 0 || m_fileName.isEmpty()) {
        m_pending.clear();
        return;
    }
    QByteArray bytes;
    if (!m_file.IsOpen()) {
        // Nothing measured needs no journal.
        if (StateIsEmpty()) {
            m_pending.clear();
            return;
        }
        if (!m_file.Create(m_fileName)) {
            m_pending.clear();
            if (!m_failed && m_failureReport)
                m_failureReport(m_file.ErrorString());
            m_failed = true;
            return;
        }
        bytes = Snapshot();
    } else {
        for (const QStringList &op : std::as_const(m_pending))
            bytes += TJournalLine::Encode(op);
        bytes += ValueLines(false);
        if (bytes.isEmpty())
            return;
    }
    m_pending.clear();
    bytes +=
        TJournalLine::Encode({QStringLiteral("S"), QString::number(QDateTime::currentMSecsSinceEpoch())});
    if (!m_file.Append(bytes)) {
        if (!m_failed && m_failureReport)
            m_failureReport(m_file.ErrorString());
        m_failed = true;
        return;
    }
    m_failed = false;
}

void TJournal::Settled()
{
    m_pending.clear();
    m_file.Remove();
    for (TValue &value : m_values)
        value.written.clear();
}

void TJournal::Replay(const TJournalContents &contents, const TTarget &target)
{
    for (const TJournalChange &change : contents.changes) {
        for (const QStringList &op : change.ops) {
            const QString kind = op.value(0);
            // Only data rows are journalled; a row number of a damaged or foreign line reaches no header.
            const int row = op.value(2).toInt();
            if (kind == QLatin1String("T") && row >= 1) {
                if (TTextTable *table = target.table(op[1]))
                    table->SetRowTexts(row, op.mid(3));
            } else if (kind == QLatin1String("D") && row >= 1) {
                if (TTextTable *table = target.table(op[1]))
                    table->DeleteRow(row);
            } else if (kind == QLatin1String("C") && op.size() >= 2) {
                if (TTextTable *table = target.table(op[1]))
                    table->ClearDataRows();
            } else if (kind == QLatin1String("M") && op.size() >= 4) {
                bool okX = false, okY = false, okZ = false;
                const TPoint3 mark{op[1].toFloat(&okX), op[2].toFloat(&okY), op[3].toFloat(&okZ)};
                if (okX && okY && okZ)
                    target.addMark(mark);
            } else if (kind == QLatin1String("E")) {
                target.clearMarks();
            } else if (kind == QLatin1String("V") && op.size() >= 3) {
                target.setValue(op[1], op[2]);
            }
        }
    }
}

TJournal::TSummary TJournal::Summarize(const TJournalContents &contents) const
{
    TSummary summary;
    QMap<QString, std::shared_ptr<TTextTable>> scratch;
    for (const TTable &table : m_tables)
        scratch.insert(table.name,
                       std::make_shared<TTextTable>(table.table->ColCount(), table.table->RowCount()));
    TTarget target{[&](const QString &name) {
                       auto found = scratch.find(name);
                       return found == scratch.end() ? nullptr : found->get();
                   },
                   [&](TPoint3) { ++summary.marks; }, [&] { summary.marks = 0; },
                   [](const QString &, const QString &) {}};
    Replay(contents, target);
    for (auto it = scratch.cbegin(); it != scratch.cend(); ++it) {
        int filled = 0;
        for (int row = 1; row <= it.value()->LastUsedRow(); ++row)
            filled += it.value()->IsRowFree(row) ? 0 : 1;
        summary.rows.insert(it.key(), filled);
    }
    if (!contents.changes.isEmpty())
        summary.shownAt = contents.changes.last().shownAt;
    return summary;
}

void TJournal::Restore(const TJournalContents &contents)
{
    {
        TPause pause(this);
        TTarget target{[this](const QString &name) -> TTextTable * {
                           for (const TTable &table : std::as_const(m_tables))
                               if (table.name == name)
                                   return table.table;
                           return nullptr;
                       },
                       [this](TPoint3 mark) {
                           if (m_marks.add)
                               m_marks.add(mark);
                       },
                       [this] {
                           if (m_marks.clear)
                               m_marks.clear();
                       },
                       [this](const QString &key, const QString &text) {
                           for (const TValue &value : std::as_const(m_values))
                               if (value.key == key && value.set)
                                   value.set(text);
                       }};
        Replay(contents, target);
    }
    // The restored work is this run's now: a journal of its own keeps it.
    Settled();
    Commit();
}
