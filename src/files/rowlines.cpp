#include "files/rowlines.h"

#include "common/globalprocedures.h"

#include <algorithm>

void TRowLines::AppendRows(QString &text, const TTextTable &table, int columnCount)
{
    const int lastRow = std::min(table.LastUsedRow(), MaxRows);
    for (int row = 1; row <= lastRow; ++row) {
        if (table.IsRowFree(row))
            continue;
        for (int column = 0; column < columnCount; ++column) {
            if (column > 0)
                text += QLatin1Char(',');
            text += table.Cell(column, row);
        }
        text += LineEnd;
    }
}

QStringList TRowLines::SplitRow(QString line, int columnCount)
{
    QStringList fields;
    fields.reserve(columnCount);
    QString field;
    for (int column = 0; column < columnCount; ++column) {
        NextField(line, field, QLatin1Char(','));
        fields.append(field);
    }
    return fields;
}

void TRowLines::AddLine(TRowsRead &read, const QString &line, int columnCount)
{
    QStringList fields = SplitRow(line, columnCount);
    if (fields.value(0).isEmpty())
        ++read.blank;
    else if (read.rows.size() < MaxRows)
        read.rows.append(std::move(fields));
    else
        ++read.beyond;
}

QString TRowLines::BlankLinesWarning(qsizetype blank)
{
    if (blank == 0)
        return {};
    return QStringLiteral("%1 blank line(s) or row(s) without a first field were skipped; the rows around "
                          "them have been loaded.")
        .arg(blank);
}

int TRowLines::HighestPointNumber(const QList<QStringList> &rows)
{
    int highest = 0;
    for (const QStringList &row : rows) {
        bool ok = false;
        const int number = row.value(0).toInt(&ok);
        if (ok && number <= MaxCountedPointNumber)
            highest = std::max(highest, number);
    }
    return highest;
}

int TRowLines::FillPoints(const TFileTables &tables, const QList<QStringList> &rows)
{
    if (tables.clearAllSeries)
        tables.clearAllSeries();
    FillTable(tables.data, rows);
    if (tables.plotPoint) {
        for (const QStringList &row : rows)
            tables.plotPoint(row.value(1), row.value(2), row.value(3));
    }
    return std::max(static_cast<int>(std::min<qsizetype>(rows.size(), MaxRows)), HighestPointNumber(rows));
}

void TRowLines::FillTable(TTextTable &table, const QList<QStringList> &rows)
{
    table.ClearDataRows();
    const int count = static_cast<int>(std::min<qsizetype>(rows.size(), MaxRows));
    for (int row = 1; row <= count; ++row)
        table.SetRowTexts(row, rows[row - 1]);
    table.SetTopRow(1);
}
