#pragma once

#include "geometry/geometryfeature.h"

#include <string>

enum class TOrientationKind
{
    Perpendicularity,
    Parallelism,
};

struct TZoneOutcome
{
    bool ok = false;
    // The zone's width, millimetres.
    double width = 0.0;
    std::string reason;
};

// The perpendicularity or parallelism of a line, a plane or an axis (a cylinder's or a cone's) to a
// datum plane, line or axis: the width of the zone, oriented exactly as the datum asks, that the
// feature's fitted orientation needs over the extent of its points. For a line or an axis that is the
// length its points span along it times the sine of its angle to the ideal direction; for a plane, the
// spread of its points across the zone. The feature's form is a characteristic of its own and is not
// counted in.
//
// A line or axis perpendicular to a plane, a plane perpendicular to a line or axis, and a line or axis
// parallel to another are ideally along the datum's direction; the other pairs ideally square to it.
// points are the feature's own points (in the same coordinates as both features); a feature without
// points, or a type that has no direction (a point, a circle, a sphere), is refused with the reason.
TZoneOutcome OrientationZone(TOrientationKind kind, const TGeometryFeature &feature, const TPointList &points,
                             const TGeometryFeature &datum);
