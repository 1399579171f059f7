#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class TTextTable;

// The part being inspected, as entered before its report: what it is, its serial number and who
// measured it.
struct TPartFields
{
    QString partName;
    QString serialNumber;
    QString operatorName;

    bool IsEmpty() const { return partName.isEmpty() && serialNumber.isEmpty() && operatorName.isEmpty(); }
};

// What the project file keeps of an inspection: the part's fields and the characteristics table.
struct TInspectionTables
{
    TTextTable &characteristics;
    TPartFields &part;
};

// The inspection of a project, kept after the project file's other sections in one of its own, written
// only when there is something to keep (so a project without characteristics and part fields is what
// it was before):
//
//   [Inspection]
//   Part Name = bracket
//   Serial Number = S-0001
//   Operator = A. Inspector
//   Feature, Characteristic, Nominal, Upper, Lower, Actual, Deviation, Result
//   C1,Diameter,20.000,0.020,-0.010,20.013,0.013,OK
//   [End Inspection]
//
// Rows are written as the features section writes them (quotes around a text with a "," in it).
class TQualitySection
{
public:
    static inline const QString Heading = QStringLiteral("[Inspection]");
    static inline const QString EndLine = QStringLiteral("[End Inspection]");

    static void Append(QString &text, const TTextTable &characteristics, const TPartFields &part);

    struct TRead
    {
        bool found = false;
        bool unended = false;
        TPartFields part;
        QList<QStringList> rows;
        qsizetype beyond = 0;
    };
    // From the lines that follow the project's other sections; lines before the heading are passed over.
    static TRead Read(const QStringList &lines, int columnCount);
};
