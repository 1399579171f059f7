#pragma once

#include "files/filetables.h"

#include <QList>
#include <QString>
#include <QStringList>

// The row line shared by the project file and the table files: a row's cells from column 0 on, as the
// table holds them, joined by a single "," and ended by CR LF. Also the filling of the tables from rows
// read, common to both readers.
class TRowLines
{
public:
    // A table holds 999 data rows; no file section or table file loads more.
    static constexpr int MaxRows = 999;
    static inline const QString LineEnd = QStringLiteral("\r\n");

    // Appends the row lines of rows 1 down to the row before the first free one, at most MaxRows.
    static void AppendRows(QString &text, const TTextTable &table, int columnCount);
    // Takes columnCount fields off a line with NextField and ","; missing fields are empty, fields
    // beyond columnCount are dropped.
    static QStringList SplitRow(QString line, int columnCount);

    // Empties the series and the point table, then fills rows 1 on, plots every row whose X, Y and Z
    // convert and scrolls back to row 1. Returns the PointCount that follows: the larger of the rows
    // filled and the highest point number among them, so the next point never repeats a number.
    static int FillPoints(const TFileTables &tables, const QList<QStringList> &rows);
    // Empties the table, fills rows 1 on and scrolls back to row 1.
    static void FillTable(TTextTable &table, const QList<QStringList> &rows);
    static int HighestPointNumber(const QList<QStringList> &rows);
};
