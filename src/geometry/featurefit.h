#pragma once

#include "geometry/geometryfeature.h"

// Gaussian (orthogonal least-squares) fits of ISO 10360-6 in double precision. Each needs a minimum
// number of points (line 2, plane 3, circle 3, sphere 4, cylinder 5, cone 6) and refuses coincident
// points and point sets that do not fix the feature (collinear points for a plane or a circle, coplanar
// points for a sphere, a cone whose apex angle is zero, which is a cylinder). A circle in space is the
// circle fitted to the points projected into their least-squares plane.
TGeometryOutcome FitLine(const TPointList &points);
TGeometryOutcome FitPlane(const TPointList &points);
TGeometryOutcome FitCircle(const TPointList &points);
TGeometryOutcome FitSphere(const TPointList &points);
TGeometryOutcome FitCylinder(const TPointList &points);
TGeometryOutcome FitCone(const TPointList &points);
// One of the above by type; a Point takes exactly one point.
TGeometryOutcome FitFeature(TFeatureType type, const TPointList &points);

// The fewest points a fit of this type takes.
int MinimumPoints(TFeatureType type);
