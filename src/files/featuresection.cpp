#include "files/featuresection.h"

#include "common/globalprocedures.h"
#include "files/linereader.h"
#include "register/texttable.h"

#include <algorithm>

namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

bool IsBlank(QChar c)
{
    return c.unicode() <= 32;
}

bool NeedsQuotes(const QString &text)
{
    return !text.isEmpty() &&
           (text.contains(kComma) || text.contains(kQuote) || IsBlank(text.front()) || IsBlank(text.back()));
}

} // namespace

QString TFeatureSection::RowLine(const QStringList &texts)
{
    QString line;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += kComma;
        if (NeedsQuotes(texts[i])) {
            QString quoted = texts[i];
            quoted.replace(kQuote, QStringLiteral("\"\""));
            line += kQuote + quoted + kQuote;
        } else {
            line += texts[i];
        }
    }
    return line;
}

QStringList TFeatureSection::SplitRow(const QString &line, int columnCount)
{
    QStringList fields;
    fields.reserve(columnCount);
    qsizetype at = 0;
    const qsizetype size = line.size();
    while (fields.size() < columnCount && at <= size) {
        while (at < size && IsBlank(line[at]))
            ++at;
        QString field;
        if (at < size && line[at] == kQuote) {
            // Quoted: up to the closing quote, a doubled quote standing for one; whatever follows it
            // up to the next "," is dropped. An unclosed quote runs to the end of the line.
            ++at;
            while (at < size) {
                if (line[at] == kQuote) {
                    if (at + 1 < size && line[at + 1] == kQuote) {
                        field += kQuote;
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += line[at++];
            }
            const qsizetype comma = line.indexOf(kComma, at);
            at = comma < 0 ? size + 1 : comma + 1;
        } else {
            const qsizetype comma = line.indexOf(kComma, at);
            const qsizetype end = comma < 0 ? size : comma;
            field = TrimControls(QStringView(line).sliced(at, end - at));
            at = comma < 0 ? size + 1 : comma + 1;
        }
        fields.append(field);
    }
    while (fields.size() < columnCount)
        fields.append(QString());
    return fields;
}

namespace {

void AppendRows(QString &text, const QString &heading, const QString &columnHeading, const TTextTable *table)
{
    if (!table || table->FilledRowCount() == 0)
        return;
    const QString &end = TRowLines::LineEnd;
    text += heading + end + columnHeading + end;
    const int lastRow = std::min(table->LastUsedRow(), TRowLines::MaxRows);
    for (int row = 1; row <= lastRow; ++row)
        if (!table->IsRowFree(row))
            text += TFeatureSection::RowLine(table->RowTexts(row)) + end;
}

} // namespace

void TFeatureSection::Append(QString &text, const TTextTable &features, const TTextTable *approaches,
                             const TTextTable *alignments)
{
    const int lastRow = std::min(features.LastUsedRow(), TRowLines::MaxRows);
    bool any = false;
    for (int row = 1; row <= lastRow && !any; ++row)
        any = !features.IsRowFree(row);
    if (!any)
        return;
    const QString &end = TRowLines::LineEnd;
    text += Heading + end + ColumnHeading + end;
    for (int row = 1; row <= lastRow; ++row)
        if (!features.IsRowFree(row))
            text += RowLine(features.RowTexts(row)) + end;
    AppendRows(text, ApproachHeading, ApproachColumnHeading, approaches);
    AppendRows(text, AlignmentHeading, AlignmentColumnHeading, alignments);
    text += EndLine + end;
}

TFeatureSection::TRead TFeatureSection::Read(TLineReader &reader, int columnCount, QStringList *passedOver)
{
    TRead read;
    // Anything after "[End]" other than the section (a line added by hand, a blank line) is passed
    // over, as the older reader never saw it.
    for (;;) {
        const std::optional<QString> passed = reader.ReadLine();
        if (!passed)
            return read;
        if (*passed == Heading)
            break;
        if (passedOver)
            passedOver->append(*passed);
    }
    read.found = true;
    std::optional<QString> line;
    reader.ReadLine();
    TRowLines::TRowsRead *into = &read.rows;
    int columns = columnCount;
    while ((line = reader.ReadLine())) {
        if (*line == EndLine)
            return read;
        // Each subsection once, in its place: a heading out of order reads as a row line.
        if (*line == ApproachHeading && into == &read.rows) {
            into = &read.approaches;
            columns = ApproachColumnCount;
            reader.ReadLine();
            continue;
        }
        if (*line == AlignmentHeading && into != &read.alignments) {
            into = &read.alignments;
            columns = AlignmentColumnCount;
            reader.ReadLine();
            continue;
        }
        QStringList fields = SplitRow(*line, columns);
        if (fields.value(0).isEmpty())
            ++into->blank;
        else if (into->rows.size() < TRowLines::MaxRows)
            into->rows.append(std::move(fields));
        else
            ++into->beyond;
    }
    read.unended = true;
    return read;
}
