#include "geometry/featurefit.h"

#include "geometry/fitsupport.h"

#include <algorithm>

// The line and the plane follow from the principal axes of the centred points alone; the round and
// the axial features are in roundfits.cpp and axialfits.cpp.

TGeometryOutcome FitLine(const TPointList &points)
{
    if (auto reason = CheckInput(points, MinimumPoints(TFeatureType::Line), "line"))
        return TGeometryOutcome::Refused(*reason);
    const TPointSpread spread = Spread(points);
    if (auto reason = CheckSpan(spread, points.size(), 1))
        return TGeometryOutcome::Refused(*reason);

    TGeometryFeature line;
    line.type = TFeatureType::Line;
    line.location = spread.centroid;
    line.direction = Canonical(spread.axes.col(0));
    std::vector<double> residuals;
    residuals.reserve(points.size());
    for (const auto &p : points)
        residuals.push_back((p - line.location).cross(line.direction).norm());
    Summarise(line, std::move(residuals));
    // The distances have no sign round a line in space: its straightness is the diameter of the
    // cylinder about the fitted line that holds every point.
    line.form = 2.0 * *std::max_element(line.residuals.begin(), line.residuals.end());
    return TGeometryOutcome::Made(std::move(line));
}

TGeometryOutcome FitPlane(const TPointList &points)
{
    if (auto reason = CheckInput(points, MinimumPoints(TFeatureType::Plane), "plane"))
        return TGeometryOutcome::Refused(*reason);
    const TPointSpread spread = Spread(points);
    if (auto reason = CheckSpan(spread, points.size(), 2))
        return TGeometryOutcome::Refused(*reason);

    TGeometryFeature plane;
    plane.type = TFeatureType::Plane;
    plane.location = spread.centroid;
    plane.direction = Canonical(spread.axes.col(2));
    std::vector<double> residuals;
    residuals.reserve(points.size());
    for (const auto &p : points)
        residuals.push_back((p - plane.location).dot(plane.direction));
    Summarise(plane, std::move(residuals));
    return TGeometryOutcome::Made(std::move(plane));
}

TGeometryOutcome FitFeature(TFeatureType type, const TPointList &points)
{
    switch (type) {
    case TFeatureType::Point: {
        if (points.size() != 1)
            return TGeometryOutcome::Refused("a point takes exactly 1 point, got " +
                                             std::to_string(points.size()));
        if (auto reason = CheckInput(points, 1, "point"))
            return TGeometryOutcome::Refused(*reason);
        TGeometryFeature point;
        point.location = points.front();
        Summarise(point, {0.0});
        return TGeometryOutcome::Made(std::move(point));
    }
    case TFeatureType::Line:
        return FitLine(points);
    case TFeatureType::Plane:
        return FitPlane(points);
    case TFeatureType::Circle:
        return FitCircle(points);
    case TFeatureType::Sphere:
        return FitSphere(points);
    case TFeatureType::Cylinder:
        return FitCylinder(points);
    case TFeatureType::Cone:
        return FitCone(points);
    }
    return TGeometryOutcome::Refused("unknown feature type");
}

int MinimumPoints(TFeatureType type)
{
    switch (type) {
    case TFeatureType::Point:
        return 1;
    case TFeatureType::Line:
        return 2;
    case TFeatureType::Plane:
    case TFeatureType::Circle:
        return 3;
    case TFeatureType::Sphere:
        return 4;
    case TFeatureType::Cylinder:
        return 5;
    case TFeatureType::Cone:
        return 6;
    }
    return 1;
}
