#include "geometry/featurerelation.h"

#include <Eigen/Geometry>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;
// Directions closer than this (sine of the angle) count as parallel for a line to line distance.
constexpr double ParallelSine = 1e-9;

// A plane for an angle: a plane, or the plane a circle lies in.
bool HasPlaneForAngle(TFeatureType type)
{
    return type == TFeatureType::Plane || type == TFeatureType::Circle;
}

std::string PairWords(TFeatureType a, TFeatureType b)
{
    if (a == b)
        return "two " + FeatureTypeWord(a) + "s";
    return "a " + FeatureTypeWord(a) + " and a " + FeatureTypeWord(b);
}

// The angle between two undirected lines, degrees in 0..90, from the absolute cosine kept in range.
double AngleBetweenLines(const Eigen::Vector3d &u, const Eigen::Vector3d &v)
{
    const double sine = u.normalized().cross(v.normalized()).norm();
    const double cosine = std::abs(u.normalized().dot(v.normalized()));
    return std::atan2(sine, cosine) * DegreesPerRadian;
}

double PointToLine(const Eigen::Vector3d &p, const TGeometryFeature &line)
{
    const Eigen::Vector3d d = line.direction.normalized();
    return (p - line.location).cross(d).norm();
}

double PointToPlane(const Eigen::Vector3d &p, const TGeometryFeature &plane)
{
    return (p - plane.location).dot(plane.direction.normalized());
}

TRelationOutcome LineToLine(const TGeometryFeature &a, const TGeometryFeature &b)
{
    const Eigen::Vector3d u = a.direction.normalized();
    const Eigen::Vector3d v = b.direction.normalized();
    const Eigen::Vector3d n = u.cross(v);
    if (n.norm() < ParallelSine)
        return TRelationOutcome::Value(PointToLine(b.location, a));
    return TRelationOutcome::Value(std::abs((b.location - a.location).dot(n.normalized())));
}

bool UsableDirection(const TGeometryFeature &f)
{
    const double n = f.direction.norm();
    return std::isfinite(n) && n > 0.5;
}
} // namespace

bool HasCentre(TFeatureType type)
{
    return type == TFeatureType::Point || type == TFeatureType::Circle || type == TFeatureType::Sphere;
}

bool HasAxis(TFeatureType type)
{
    return type == TFeatureType::Line || type == TFeatureType::Cylinder || type == TFeatureType::Cone;
}

std::string FeatureTypeWord(TFeatureType type)
{
    switch (type) {
    case TFeatureType::Point:
        return "point";
    case TFeatureType::Line:
        return "line";
    case TFeatureType::Plane:
        return "plane";
    case TFeatureType::Circle:
        return "circle";
    case TFeatureType::Sphere:
        return "sphere";
    case TFeatureType::Cylinder:
        return "cylinder";
    case TFeatureType::Cone:
        return "cone";
    }
    return "feature";
}

TRelationOutcome FeatureDistance(const TGeometryFeature &a, const TGeometryFeature &b)
{
    const TFeatureType ta = a.type;
    const TFeatureType tb = b.type;
    if (HasCentre(ta) && HasCentre(tb)) {
        TRelationOutcome out = TRelationOutcome::Value((b.location - a.location).norm());
        out.delta = b.location - a.location;
        out.hasDelta = true;
        return out;
    }
    if ((HasAxis(ta) || ta == TFeatureType::Plane) && !UsableDirection(a))
        return TRelationOutcome::Refused("the " + FeatureTypeWord(ta) + " has no direction");
    if ((HasAxis(tb) || tb == TFeatureType::Plane) && !UsableDirection(b))
        return TRelationOutcome::Refused("the " + FeatureTypeWord(tb) + " has no direction");
    if (HasCentre(ta) && HasAxis(tb))
        return TRelationOutcome::Value(PointToLine(a.location, b));
    if (HasAxis(ta) && HasCentre(tb))
        return TRelationOutcome::Value(PointToLine(b.location, a));
    if (HasCentre(ta) && tb == TFeatureType::Plane)
        return TRelationOutcome::Value(PointToPlane(a.location, b));
    if (ta == TFeatureType::Plane && HasCentre(tb))
        return TRelationOutcome::Value(PointToPlane(b.location, a));
    if (HasAxis(ta) && HasAxis(tb))
        return LineToLine(a, b);
    if (ta == TFeatureType::Plane && tb == TFeatureType::Plane) {
        const double angle = AngleBetweenLines(a.direction, b.direction);
        if (angle > ParallelPlanesToleranceDeg)
            return TRelationOutcome::Refused("the planes are not parallel; no distance between them");
        // Measured from each plane to the other's centroid, the mean is the same either way round; the
        // second plane's normal is taken the way of the first.
        const Eigen::Vector3d na = a.direction.normalized();
        Eigen::Vector3d nb = b.direction.normalized();
        if (na.dot(nb) < 0)
            nb = -nb;
        const double fromA = (b.location - a.location).dot(na);
        const double fromB = (b.location - a.location).dot(nb);
        return TRelationOutcome::Value(std::abs(0.5 * (fromA + fromB)));
    }
    if ((HasAxis(ta) && tb == TFeatureType::Plane) || (ta == TFeatureType::Plane && HasAxis(tb))) {
        const TGeometryFeature &line = HasAxis(ta) ? a : b;
        const TGeometryFeature &plane = HasAxis(ta) ? b : a;
        const double angle = 90.0 - AngleBetweenLines(line.direction, plane.direction);
        if (angle > ParallelPlanesToleranceDeg)
            return TRelationOutcome::Refused("the " + FeatureTypeWord(line.type) +
                                             " crosses the plane; no distance between them");
        return TRelationOutcome::Value(PointToPlane(line.location, plane));
    }
    return TRelationOutcome::Refused("no distance between " + PairWords(ta, tb));
}

TRelationOutcome FeatureAngle(const TGeometryFeature &a, const TGeometryFeature &b)
{
    const bool lineA = HasAxis(a.type);
    const bool lineB = HasAxis(b.type);
    const bool planeA = HasPlaneForAngle(a.type);
    const bool planeB = HasPlaneForAngle(b.type);
    if (!(lineA || planeA) || !(lineB || planeB))
        return TRelationOutcome::Refused("no angle between " + PairWords(a.type, b.type));
    if (!UsableDirection(a) || !UsableDirection(b))
        return TRelationOutcome::Refused("no angle between " + PairWords(a.type, b.type) +
                                         ": a direction is missing");
    const double between = AngleBetweenLines(a.direction, b.direction);
    // Two lines or two planes: the angle between their directions or normals. A line and a plane: the
    // angle the line makes with the plane, the complement of its angle to the normal.
    if (lineA == lineB)
        return TRelationOutcome::Value(between);
    return TRelationOutcome::Value(90.0 - between);
}

TRelationOutcome AngleToDirection(const TGeometryFeature &feature, const Eigen::Vector3d &direction)
{
    if (!HasAxis(feature.type) && !HasPlaneForAngle(feature.type))
        return TRelationOutcome::Refused("a " + FeatureTypeWord(feature.type) + " has no direction");
    if (!UsableDirection(feature) || !(direction.norm() > 0.5))
        return TRelationOutcome::Refused("a direction is missing");
    return TRelationOutcome::Value(AngleBetweenLines(feature.direction, direction));
}
