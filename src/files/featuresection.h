#pragma once

#include "files/rowlines.h"

#include <QString>
#include <QStringList>

class TLineReader;
class TTextTable;

// The features of a project, kept after the project file's "[End]" line in a section of their own, so
// that a reader of the older layout, which stops at "[End]", reads the project unchanged:
//
//   [Features]
//   Feature, Type, From, X, Y, Z, I, J, K, Size, Form, Apex
//   C1,Circle,"1-8",10.000,-5.000,0.000,0.000000,0.000000,1.000000,20.000,0.002,
//   [Approach Directions]
//   Pt, I, J, K
//   1,0.707107,-0.707107,0.000000
//   [Alignments]
//   Alignment, Active, X I, X J, X K
//   AL1,Yes,0.996195,0.087156,0.000000
//   [End Features]
//
// A row line is the row's texts joined by ","; a text holding a "," or a quote (a "From" of "1-4, 9",
// "C1, PL1") or blanks at either end is written in quotes, a quote in it doubled. A project without
// features has no section at all. The approach directions of the recorded points (the way the probe
// moved as it touched) follow the feature rows when there are any, and then the part alignments' own
// texts (the part's X axis, which one is active) when there are any.
class TFeatureSection
{
public:
    static inline const QString Heading = QStringLiteral("[Features]");
    static inline const QString ColumnHeading =
        QStringLiteral("Feature, Type, From, X, Y, Z, I, J, K, Size, Form, Apex");
    static inline const QString EndLine = QStringLiteral("[End Features]");
    static inline const QString ApproachHeading = QStringLiteral("[Approach Directions]");
    static inline const QString ApproachColumnHeading = QStringLiteral("Pt, I, J, K");
    static constexpr int ApproachColumnCount = 4;
    static inline const QString AlignmentHeading = QStringLiteral("[Alignments]");
    static inline const QString AlignmentColumnHeading = QStringLiteral("Alignment, Active, X I, X J, X K");
    static constexpr int AlignmentColumnCount = 5;

    // The section of every filled row (nothing when the table has none), CR LF after every line.
    static void Append(QString &text, const TTextTable &features, const TTextTable *approaches = nullptr,
                       const TTextTable *alignments = nullptr);

    struct TRead
    {
        TRowLines::TRowsRead rows;
        TRowLines::TRowsRead approaches;
        TRowLines::TRowsRead alignments;
        // The file has a features section; without one the project was written before features.
        bool found = false;
        // The section ended with the file, before its end line.
        bool unended = false;
    };
    // Reads on from just after "[End]": the section if the next line begins one, else nothing. Lines
    // passed over before the section go to passedOver where one is given.
    static TRead Read(TLineReader &reader, int columnCount, QStringList *passedOver = nullptr);

    static QString RowLine(const QStringList &texts);
    // Missing fields are empty, fields beyond columnCount dropped; texts outside quotes are trimmed.
    static QStringList SplitRow(const QString &line, int columnCount);
};
