#pragma once

#include "common/stationtypes.h"

#include <QList>
#include <vector>

class TTextTable;

// Which recorded-point marks of the views stand for points no longer in the point table. A mark and a
// row belong together when the row's X, Y and Z read as the mark's values in the coordinate text form;
// each row accounts for one mark, the latest one of its place, so of two marks at one place with one
// row left the earlier reads as deleted.
class TDeletedMarks
{
public:
    // deleted[i] for marks[i].
    static std::vector<bool> Find(const TTextTable &data, const QList<TPoint3> &marks);
};
