#pragma once

#include "geometry/geometryfeature.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class TTextTable;

// Point numbers as the operator types them and the features table shows them: numbers and ranges
// separated by commas or blanks, "1-4, 9". A range runs upwards; a number named twice counts once.
// The points behind the numbers are read from the point table's texts.
struct TPointNumbers
{
    // The most numbers one list may name: the point table's data rows.
    static constexpr int MaxCount = 999;

    // The numbers in the order written, or no value with the reason in problem.
    static std::optional<QList<int>> Read(QStringView text, QString *problem = nullptr);
    // Runs of consecutive numbers written as ranges: {1, 2, 3, 4, 9} gives "1-4, 9".
    static QString Text(const QList<int> &numbers);

    struct TFound
    {
        // The points of the numbers found, in the order of the numbers.
        TPointList points;
        // Numbers no row of the table holds, and those whose row does not read as three numbers.
        QList<int> missing;
        QList<int> unreadable;

        bool Complete() const { return missing.isEmpty() && unreadable.isEmpty(); }
        // "Point 12 is not in the point table." and the like; empty when complete.
        QString Problem() const;
    };
    // Each number's row in the point table (found by its "Pt" text), its X, Y and Z in millimetres.
    static TFound Find(const TTextTable &points, const QList<int> &numbers);
};
