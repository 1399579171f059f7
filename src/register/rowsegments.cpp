#include "register/rowsegments.h"

#include "common/coordinatetext.h"
#include "register/texttable.h"

#include <QHash>
#include <optional>

namespace {

using TPoints = QHash<QString, TPoint3>;

// The points of the table by their number text; the first row with a number wins.
TPoints PointsByNumber(const TTextTable &data)
{
    TPoints points;
    for (int row = 1; row <= data.LastUsedRow(); ++row) {
        const QString number = data.Cell(0, row);
        if (number.isEmpty() || points.contains(number))
            continue;
        const auto x = ReadDecimal(data.Cell(1, row));
        const auto y = ReadDecimal(data.Cell(2, row));
        const auto z = ReadDecimal(data.Cell(3, row));
        if (x && y && z)
            points.insert(number, {*x, *y, *z});
    }
    return points;
}

// A distance row (two numbers) or an angle row (three, the vertex second) as segments.
void AddRow(const TTextTable &table, int row, int points, const TPoints &byNumber,
            TRowSegments::TSegments &out)
{
    if (row < 1 || row >= table.RowCount() || table.IsRowFree(row))
        return;
    std::optional<TPoint3> ends[3];
    for (int n = 0; n < points; ++n)
        if (const auto found = byNumber.constFind(table.Cell(n, row)); found != byNumber.constEnd())
            ends[n] = *found;
    for (int n = 0; n + 1 < points; ++n)
        if (ends[n] && ends[n + 1])
            out.emplace_back(*ends[n], *ends[n + 1]);
}

} // namespace

TRowSegments::TDrawn TRowSegments::Compute(const TTextTable &data, const TTextTable &distances,
                                           const TTextTable &angles, const TChoice &choice)
{
    TDrawn drawn;
    if (!choice.showAll && choice.distanceRow <= 0 && choice.angleRow <= 0)
        return drawn;
    const TPoints byNumber = PointsByNumber(data);
    if (choice.showAll) {
        for (int row = 1; row <= distances.LastUsedRow(); ++row)
            AddRow(distances, row, 2, byNumber, drawn.thin);
        for (int row = 1; row <= angles.LastUsedRow(); ++row)
            AddRow(angles, row, 3, byNumber, drawn.thin);
    }
    AddRow(distances, choice.distanceRow, 2, byNumber, drawn.highlighted);
    AddRow(angles, choice.angleRow, 3, byNumber, drawn.highlighted);
    return drawn;
}
