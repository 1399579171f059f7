#pragma once

#include "common/stationtypes.h"

#include <utility>
#include <vector>

class TTextTable;

// The segments that draw distance and angle rows in the views: a distance row its two points, an angle
// row its two legs from the vertex (the second point). The points are found by their numbers in the
// point table; a row naming a point the table no longer holds draws nothing of it.
class TRowSegments
{
public:
    using TSegments = std::vector<std::pair<TPoint3, TPoint3>>;

    struct TChoice
    {
        // Every row, thinly.
        bool showAll = false;
        // The selected row of each table, drawn strongly; 0 for none.
        int distanceRow = 0;
        int angleRow = 0;
    };

    struct TDrawn
    {
        TSegments thin;
        TSegments highlighted;
    };

    static TDrawn Compute(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                          const TChoice &choice);
};
