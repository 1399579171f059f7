#pragma once

#include "geometry/geometryfeature.h"
#include "register/constructionrecipe.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class TFeatureRegister;

// Features constructed from rows of the features table: the intersection of two lines, a pierce point,
// the line where two planes meet, a midpoint, a projection onto a plane, the line through two centres
// and a bolt circle. The result is a row like a fitted feature's, named by its type (P3, L4, C5), whose
// From is its recipe ("Intersection L1, L2"), so that it can be worked out again from the features it
// names whenever they change.
//
// Two lines intersect in the primary plane of the active alignment when there is one; without one the
// intersection is the midpoint of their closest points, and the gap between those is told.
class TFeatureConstructor
{
public:
    using TKind = TConstructionRecipe::TKind;
    // The plane intersections are taken in, or none; without one given, the primary plane of the
    // register's active alignment.
    using TPlaneOf = std::function<std::optional<TGeometryFeature>()>;

    struct TConstructed
    {
        int row = 0;
        // Why nothing was added; with a row, what the operator should know (the lines' gap).
        QString message;

        bool Added() const { return row > 0; }
    };

    struct TPick
    {
        std::optional<TKind> kind;
        QString reason;
    };

    explicit TFeatureConstructor(TFeatureRegister &features, TPlaneOf plane = {});
    void SetPlane(TPlaneOf plane) { m_plane = std::move(plane); }

    // The construction the selected rows' types call for: two lines or axes intersect, an axis and a
    // plane pierce, two planes meet, a centre goes onto a plane, two centres give their midpoint (the
    // line through them is asked for by name) and three or more circles a bolt circle.
    TPick Pick(const QList<int> &rows) const;
    // Adds the construction of the rows, in the order its recipe takes them (a pierce's line before its
    // plane, whatever the table order); kind none picks it. Wrong types, too few or too many rows,
    // relation rows and constructions that do not exist (parallel lines) add nothing and say why.
    TConstructed Construct(std::optional<TKind> kind, const QList<int> &rows);

    // The recipe's feature from the table's rows of its inputs as they are now.
    struct TWorked
    {
        TGeometryOutcome outcome;
        // For an intersection: how far apart the lines pass in space, and whether they were crossed
        // in the plane.
        std::optional<double> gap;
        bool inPlane = false;
    };
    TWorked Work(const TConstructionRecipe &recipe) const;
    // A construction row's values worked out anew in its place, under its name; false (the row left as
    // it was) for a row that is no construction or whose inputs no longer construct.
    bool Recompute(int row);

    // "Intersection of two lines", for the list the operator chooses from.
    static QString Caption(TKind kind);

private:
    // The rows' features; the reason when one is no feature or does not read.
    QString Read(const QList<int> &rows, std::vector<TGeometryFeature> &features) const;

    TFeatureRegister &m_features;
    TPlaneOf m_plane;
};
