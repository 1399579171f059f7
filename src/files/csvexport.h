#pragma once

#include "files/fileresult.h"
#include "files/tablefile.h"
#include "register/texttable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One table as a spreadsheet file: comma-separated values after RFC 4180 in UTF-8, a heading row that
// names each column with its unit, then every filled row with its texts exactly as the table shows
// them (a point as decimal mark, "***.***" for an undefined angle), CR LF after every record. A field
// holding a comma, a double quote or a line break is quoted, its quotes doubled.
class TCsvExport
{
public:
    using TKind = TTableFile::TKind;

    // "Point", "X (mm)", "Y (mm)", "Z (mm)" and so on: the table's columns with their units.
    static QStringList Headings(TKind kind);

    static QByteArray Compose(TKind kind, const TTextTable &table);
    // Writes the file whole or not at all; an older file of that name stays when writing fails.
    static TFileResult Save(TKind kind, const TTextTable &table, const QString &fileName);

    // The features table the same way: "Feature", "Type", "From", "X (mm)" ... "Apex (deg)".
    static QStringList FeatureHeadings();
    static QByteArray ComposeFeatures(const TTextTable &features);
    static TFileResult SaveFeatures(const TTextTable &features, const QString &fileName);

private:
    static QString Field(const QString &text);
    static QByteArray ComposeRows(const QStringList &headings, const TTextTable &table);
};
