#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// How a constructed feature was made, as its row's "From" keeps it: the construction's word and the
// names of the features it takes, "Intersection L1, L2", "Pierce CY1, PL1", "Bolt circle C1, C2, C3".
// A point list never starts with a letter, so a From text is one or the other.
struct TConstructionRecipe
{
    enum class TKind
    {
        Intersection, // two lines or axes
        Pierce,       // a line or axis, then a plane
        Meet,         // two planes
        Midpoint,     // two points or centres
        Projection,   // a point or centre, then a plane
        Line,         // the line through two points or centres
        BoltCircle,   // three or more circle centres
    };
    static constexpr int KindCount = 7;

    TKind kind = TKind::Intersection;
    QStringList inputs;

    // The recipe of a From text; none for point numbers, a relation's pair, or a text whose word is
    // unknown or whose count of names does not suit the construction.
    static std::optional<TConstructionRecipe> Read(QStringView from);
    QString Text() const;

    // "Intersection", "Bolt circle": the word a From text starts with.
    static QString Word(TKind kind);
    // How many features the construction takes: exactly this many, or at least it for a bolt circle.
    static int InputCount(TKind kind);
};
