// The fuzz target of the work journal's reader.

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "journal/journal.h"
#include "journal/journalline.h"
#include "journal/journalreader.h"
#include "register/texttable.h"

int FuzzJournalReader(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TJournalContents contents = TJournalReader::Read(bytes);
    FUZZ_CHECK(contents.HasWork() == !contents.changes.isEmpty(), "work means changes");
    FUZZ_CHECK(contents.state != TJournalContents::TState::Empty || size == 0, "only nothing reads as empty");
    if (contents.state == TJournalContents::TState::NotAJournal)
        FUZZ_CHECK(contents.changes.isEmpty(), "no change is taken from a file that is no journal");

    // The changes taken, written again, read back as the same changes: nothing the reader takes is
    // altered on the way.
    QByteArray again = TJournalLine::Encode({TJournalReader::Magic, TJournalReader::Version, "0"});
    for (const TJournalChange &change : contents.changes) {
        for (const QStringList &op : change.ops) {
            FUZZ_CHECK(!op.isEmpty(), "every journal line has a kind");
            again += TJournalLine::Encode(op);
        }
        again += TJournalLine::Encode({"S", QString::number(change.shownAt)});
    }
    const TJournalContents reread = TJournalReader::Read(again);
    FUZZ_CHECK(reread.state == TJournalContents::TState::Complete, "a rewritten journal reads complete");
    FUZZ_CHECK(reread.changes.size() == contents.changes.size(), "a rewritten journal keeps its changes");
    for (qsizetype i = 0; i < contents.changes.size(); ++i)
        FUZZ_CHECK(reread.changes[i].ops == contents.changes[i].ops, "a rewritten change keeps its lines");

    // Whatever the changes hold, rebuilding tables from them stays within the tables.
    TTextTable points(4, 1000);
    TTextTable distances(6, 1000);
    TJournal journal;
    journal.AddTable(QStringLiteral("points"), points);
    journal.AddTable(QStringLiteral("distances"), distances);
    const TJournal::TSummary summary = journal.Summarize(contents);
    for (const int rows : summary.rows)
        FUZZ_CHECK(rows >= 0 && rows <= 999, "a rebuilt table holds at most its data rows");
    FUZZ_CHECK(summary.marks >= 0, "marks are counted from zero");
    return 0;
}
