#pragma once

#include "files/fileresult.h"
#include "files/filetables.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// The table files: the rows of one table and nothing else, each line a row line as in the project file
// (cells joined by a single ",", CR LF after every line, Windows-1252). The file name is the operator's;
// no extension is added.
class TTableFile
{
public:
    enum class TKind
    {
        Coordinates,
        Distances,
        Angles,
    };

    static inline const QString CoordinatesSaveTitle = QStringLiteral("Select save file for coordinate data");
    static inline const QString DistancesSaveTitle = QStringLiteral("Select save file for distance data");
    static inline const QString AnglesSaveTitle = QStringLiteral("Select save file for angle data");

    explicit TTableFile(TFileTables tables) : m_tables(std::move(tables)) {}

    static QString SaveTitle(TKind kind);
    // The table-file dialogs' filter: the project filter (station form "Description|pattern") and
    // "All files (*)", since a table file need not end in ".prj". No filter stays no filter.
    static QString DialogFilter(const QString &projectFilter);
    // 4 (point number, X, Y, Z), 6 (two point numbers, delta X, Y, Z, R) or 7 (three point numbers and
    // four angles).
    static int ColumnCount(TKind kind);

    QByteArray Compose(TKind kind, qsizetype *unrepresentable = nullptr) const;
    // Writes the table's rows from row 1 down to the first free row, replacing any file of that name
    // only when the new one is complete.
    TFileResult Save(TKind kind, const QString &fileName) const;

    // Replaces one table with the file's lines, each line a row, at most 999 (the rest is reported, not
    // loaded). Coordinates also empty the series, plot the rows and give the new PointCount. Nothing
    // changes when the file cannot be opened or read.
    TFileResult Load(TKind kind, const QString &fileName);
    TFileResult Load(TKind kind, QIODevice &device);

private:
    TTextTable &Table(TKind kind) const;

    TFileTables m_tables;
};
