#pragma once

#include "files/fileresult.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One characteristic as the history file heads its column: the feature, the characteristic and its
// nominal and tolerances as the characteristics table shows them. lower is empty for a characteristic
// with an upper tolerance only.
struct TResultsColumn
{
    QString feature;
    QString characteristic;
    QString nominal;
    QString upper;
    QString lower;

    // "C1 Diameter 20.000 +0.020/-0.010", "PL1 Flatness 0.000 +0.010".
    QString Heading() const;
};

// One measured part: who measured it when, and each characteristic's actual text (empty when missing).
struct TPartResults
{
    QString serialNumber;
    QString measuredAt;
    QString operatorName;
    QStringList actuals;
};

// The results history of a project: Data/<project name>.results.csv beside the project file, one row a
// measured part, comma-separated values after RFC 4180 in UTF-8 with CR LF line ends:
//
//   Serial number,Date and time,Operator,C1 Diameter 20.000 +0.020/-0.010,PL1 Flatness 0.000 +0.010
//   S-0001,2026-12-10 09:15:02,A. Inspector,20.013,0.004
//
// A part is appended on its own and forced to the disk before Append returns, so a crash loses no part
// already measured; a part cut off by a crash while being written is left out on reading, and removed
// (and told) by the next append.
//
// A column stands for the characteristic with that exact heading. Where the characteristics change
// (one added, a tolerance edited), the file is rewritten once, whole or not at all, with the new columns
// after the old ones: the old parts keep their values under the headings they were measured against and
// are empty in the new columns; a characteristic no longer measured keeps its column, empty from then
// on. Values() joins the columns of one feature's characteristic, whatever its tolerances were.
class TResultsHistory
{
public:
    static inline const QStringList PartHeadings = {
        QStringLiteral("Serial number"), QStringLiteral("Date and time"), QStringLiteral("Operator")};
    static inline const QString Suffix = QStringLiteral(".results.csv");

    static QString FileName(const QString &dataDirectory, const QString &projectName);
    // Local time, "yyyy-MM-dd HH:mm:ss", which spreadsheets read as a date and time.
    static QString TimeText(const QDateTime &when);

    // The columns' headings, and the parts in the order measured, each with an actual for every heading.
    const QStringList &Headings() const { return m_headings; }
    const QList<TPartResults> &Parts() const { return m_parts; }
    // The actual of feature's characteristic for every part in order; none where a part has no number.
    QList<std::optional<double>> Values(const QString &feature, const QString &characteristic) const;
    void Clear();

    // Replaces what is held with the file's parts. A missing file is an empty history, not a failure; a
    // file that is not a results history fails and leaves what is held. Rows with more or fewer fields
    // than the heading, and a cut-off last part, are told in the warnings.
    TFileResult Load(const QString &fileName);
    // Writes the part to the file (made with its heading when missing) and adds it to what is held. A
    // file that is not a results history is refused and left as it is.
    TFileResult Append(const QString &fileName, const QList<TResultsColumn> &columns,
                       const TPartResults &part);

private:
    QStringList m_headings;
    QList<TPartResults> m_parts;
};
