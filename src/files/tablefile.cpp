#include "files/tablefile.h"

#include "files/codepage1252.h"
#include "files/linereader.h"
#include "files/rowlines.h"
#include "files/wholefile.h"

QString TTableFile::DialogFilter(const QString &projectFilter)
{
    if (projectFilter.isEmpty())
        return {};
    return projectFilter + QStringLiteral("|All files (*)|*");
}

QString TTableFile::SaveTitle(TKind kind)
{
    switch (kind) {
    case TKind::Coordinates:
        return CoordinatesSaveTitle;
    case TKind::Distances:
        return DistancesSaveTitle;
    case TKind::Angles:
        return AnglesSaveTitle;
    }
    return {};
}

int TTableFile::ColumnCount(TKind kind)
{
    switch (kind) {
    case TKind::Coordinates:
        return 4;
    case TKind::Distances:
        return 6;
    case TKind::Angles:
        return 7;
    }
    return 0;
}

TTextTable &TTableFile::Table(TKind kind) const
{
    switch (kind) {
    case TKind::Distances:
        return m_tables.distances;
    case TKind::Angles:
        return m_tables.angles;
    case TKind::Coordinates:
        break;
    }
    return m_tables.data;
}

QByteArray TTableFile::Compose(TKind kind, qsizetype *unrepresentable) const
{
    QString text;
    TRowLines::AppendRows(text, Table(kind), ColumnCount(kind));
    return TCodePage1252::Encode(text, unrepresentable);
}

TFileResult TTableFile::Save(TKind kind, const QString &fileName) const
{
    TFileResult result;
    result.fileName = fileName;
    qsizetype unrepresentable = 0;
    const QByteArray bytes = Compose(kind, &unrepresentable);
    TWholeFile::Write(result, bytes, unrepresentable, QStringLiteral("table"));
    return result;
}

TFileResult TTableFile::Load(TKind kind, const QString &fileName)
{
    return TWholeFile::Read(fileName, [this, kind](QIODevice &device) { return Load(kind, device); });
}

TFileResult TTableFile::Load(TKind kind, QIODevice &device)
{
    const int columnCount = ColumnCount(kind);
    TRowLines::TRowsRead read;
    TLineReader reader(device);
    while (const std::optional<QString> line = reader.ReadLine())
        TRowLines::AddLine(read, *line, columnCount);

    TFileResult result;
    if (reader.ReadError()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot read the file: %1").arg(device.errorString());
        return result;
    }
    if (kind == TKind::Coordinates)
        result.pointCount = TRowLines::FillPoints(m_tables, read.rows);
    else
        TRowLines::FillTable(Table(kind), read.rows);
    if (read.beyond > 0) {
        result.warnings.append(QStringLiteral("The file holds %1 more rows than the table can take; only the "
                                              "first %2 were loaded.")
                                   .arg(read.beyond)
                                   .arg(TRowLines::MaxRows));
    }
    if (read.blank > 0)
        result.warnings.append(TRowLines::BlankLinesWarning(read.blank));
    return result;
}
