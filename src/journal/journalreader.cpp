#include "journal/journalreader.h"

#include "journal/journalline.h"

TJournalContents TJournalReader::Read(QByteArrayView bytes)
{
    TJournalContents contents;
    if (bytes.isEmpty())
        return contents;

    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            // No line end: the write of this line did not finish.
            lines.append(bytes.sliced(start));
            break;
        }
        lines.append(bytes.sliced(start, end - start));
        start = end + 1;
    }
    const bool lastLineEnded = bytes.endsWith('\n');

    const auto header = TJournalLine::Decode(lines.first());
    if (!header || header->size() < 3 || header->at(0) != Magic || header->at(1) != Version) {
        contents.state = TJournalContents::TState::NotAJournal;
        contents.unusedLines = lines.size();
        return contents;
    }
    contents.startedAt = header->at(2).toLongLong();

    TJournalChange open;
    qsizetype used = 1;
    qsizetype bad = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const bool cut = i == lines.size() - 1 && !lastLineEnded;
        const auto fields = cut ? std::nullopt : TJournalLine::Decode(lines[i]);
        if (!fields || fields->isEmpty()) {
            bad = i;
            break;
        }
        if (fields->at(0) == QLatin1String("S")) {
            open.shownAt = fields->value(1).toLongLong();
            contents.changes.append(std::move(open));
            open = {};
            used = i + 1;
        } else {
            open.ops.append(*fields);
        }
    }
    contents.unusedLines = lines.size() - used;
    if (bad >= 0 && bad < lines.size() - 1)
        contents.state = TJournalContents::TState::Damaged;
    else if (contents.unusedLines > 0)
        contents.state = TJournalContents::TState::TornTail;
    else
        contents.state = TJournalContents::TState::Complete;
    return contents;
}
