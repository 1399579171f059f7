#include "register/deletedmarks.h"

#include "common/coordinatetext.h"
#include "register/texttable.h"

#include <QHash>
#include <QString>

namespace {

QString PlaceKey(float x, float y, float z)
{
    return FormatCoordinate(x) + QLatin1Char(',') + FormatCoordinate(y) + QLatin1Char(',') +
           FormatCoordinate(z);
}

} // namespace

std::vector<bool> TDeletedMarks::Find(const TTextTable &data, const QList<TPoint3> &marks)
{
    // Rows are read as the plots read them, so a row of "1.5" owns the mark plotted at 1.5.
    QHash<QString, int> rowsAt;
    for (int row = 1; row <= data.LastUsedRow(); ++row) {
        if (data.IsRowFree(row))
            continue;
        const auto x = ReadDecimal(data.Cell(1, row));
        const auto y = ReadDecimal(data.Cell(2, row));
        const auto z = ReadDecimal(data.Cell(3, row));
        if (x && y && z)
            ++rowsAt[PlaceKey(*x, *y, *z)];
    }
    std::vector<bool> deleted(static_cast<std::size_t>(marks.size()), false);
    for (qsizetype i = marks.size() - 1; i >= 0; --i) {
        int &left = rowsAt[PlaceKey(marks[i].x, marks[i].y, marks[i].z)];
        if (left > 0)
            --left;
        else
            deleted[static_cast<std::size_t>(i)] = true;
    }
    return deleted;
}
