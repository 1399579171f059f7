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
    // Point numbers above this do not count for PointCount (the row still loads), so a hand-edited
    // number cannot carry the numbering towards overflow.
    static constexpr int MaxCountedPointNumber = 999999;
    static inline const QString LineEnd = QStringLiteral("\r\n");

    // The rows of one section or table file as read.
    struct TRowsRead
    {
        QList<QStringList> rows;
        // Lines whose first field is empty (blank lines, rows without a point number): a table row
        // needs its column 0, so they are skipped rather than left as a free row in the middle.
        qsizetype blank = 0;
        // Rows beyond MaxRows, counted, not kept.
        qsizetype beyond = 0;
    };

    // Appends the row line of every filled row (column 0 not empty) from row 1 on, at most MaxRows: a
    // free row between filled ones does not end the rows written.
    static void AppendRows(QString &text, const TTextTable &table, int columnCount);
    // Takes columnCount fields off a line with NextField and ","; missing fields are empty, fields
    // beyond columnCount are dropped.
    static QStringList SplitRow(QString line, int columnCount);
    // Splits the line into read.rows, or counts it as blank or beyond the table.
    static void AddLine(TRowsRead &read, const QString &line, int columnCount);
    // The warning for the operator when lines were skipped as blank; empty when none were.
    static QString BlankLinesWarning(qsizetype blank);

    // Empties the series and the point table, then fills rows 1 on, plots every row whose X, Y and Z
    // convert and scrolls back to row 1. Returns the PointCount that follows: the larger of the rows
    // filled and the highest point number among them, so the next point never repeats a number.
    static int FillPoints(const TFileTables &tables, const QList<QStringList> &rows);
    // Empties the table, fills rows 1 on and scrolls back to row 1.
    static void FillTable(TTextTable &table, const QList<QStringList> &rows);
    // The highest point number of the rows up to MaxCountedPointNumber; 0 when there is none.
    static int HighestPointNumber(const QList<QStringList> &rows);
};
