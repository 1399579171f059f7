#pragma once

#include "geometry/geometryfeature.h"

#include <vector>

// Features constructed from other features. A constructed feature has no points and no residuals; a
// point comes out as a Point, a line as a Line with its direction's largest component positive.

// The intersection of two lines or axes. With a plane given (the primary plane of the active alignment)
// both are projected into it and the point where the projections cross is the intersection; without one
// it is the midpoint of the lines' closest points. gap is the distance between those closest points in
// space in both cases, so that the station can tell how far apart skew lines pass.
struct TLineIntersection
{
    TGeometryOutcome outcome;
    double gap = 0.0;
};
TLineIntersection IntersectLines(const TGeometryFeature &a, const TGeometryFeature &b,
                                 const TGeometryFeature *inPlane = nullptr);

// Where a line or axis pierces a plane.
TGeometryOutcome PiercePoint(const TGeometryFeature &line, const TGeometryFeature &plane);
// The line where two planes meet; its location is the point of the line nearest the midpoint of the
// planes' locations.
TGeometryOutcome PlanesIntersection(const TGeometryFeature &a, const TGeometryFeature &b);
// The midpoint of two points or centres.
TGeometryOutcome Midpoint(const TGeometryFeature &a, const TGeometryFeature &b);
// A point or centre projected along the plane's normal onto the plane.
TGeometryOutcome ProjectOntoPlane(const TGeometryFeature &centre, const TGeometryFeature &plane);
// The line through two points or centres; its location is their midpoint.
TGeometryOutcome LineThroughCentres(const TGeometryFeature &a, const TGeometryFeature &b);
// A bolt circle: the circle fitted to three or more circle centres (or points, spheres).
TGeometryOutcome BoltCircle(const std::vector<TGeometryFeature> &centres);

// A line's or an axis's direction turned so that its largest component is positive (the first such on a
// tie), the sign rule of fitted lines.
Eigen::Vector3d CanonicalDirection(const Eigen::Vector3d &direction);
