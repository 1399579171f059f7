#pragma once

#include "files/qualitysection.h"
#include "register/texttable.h"

#include <QString>
#include <functional>

// What the project and table files read and write: the three tables of the register, the two calls
// into the plot views that a load of points needs, and the features table the project file keeps. The window
// binds plotPoint to TPlotViews::PlotPoint and clearAllSeries to TPlotViews::ClearAllSeries; either may be
// left empty.
struct TFileTables
{
    using TPlotPoint = std::function<bool(const QString &x, const QString &y, const QString &z)>;

    TTextTable &data;
    TTextTable &distances;
    TTextTable &angles;
    TPlotPoint plotPoint;
    std::function<void()> clearAllSeries;
    // The features table, kept by the project file after its "[End]" line; none leaves it out.
    TTextTable *features = nullptr;
    // The approach direction of recorded points ("Pt", I, J, K), kept in the features section.
    TTextTable *approaches = nullptr;
    // The characteristics and the part's fields, kept after the features; none leaves them out.
    TInspectionTables *inspection = nullptr;
    // The part alignments' X axes and which is active ("Alignment", "Active", X I, J, K), kept there too.
    TTextTable *alignments = nullptr;
};
