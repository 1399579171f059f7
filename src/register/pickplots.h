#pragma once

#include "common/stationtypes.h"

// What picking and the derivations need of the four views: reading a clicked recorded point back,
// and the eight line series that draw a picked distance or angle. The window implements it over the
// plot views; tests hand in a stand-in.
class TPickPlots
{
public:
    virtual ~TPickPlots() = default;

    // Empties the line series Series9 to Series16.
    virtual void ClearLineSeries() = 0;
    // Adds a point to the first (line 1) or second (line 2) line series of a chart (1 X-Y, 2 X-Z,
    // 3 Y-Z, 4 3D), placed as that view places points.
    virtual void AddLinePoint(int chart, int line, TPoint3 point) = 0;
    // The values of point index of a recorded-point series (1 to 4), read back by the placement rule;
    // the coordinate a plane view lacks reads as 0.
    virtual TPoint3 ClickedPoint(int series, int index) const = 0;
};
