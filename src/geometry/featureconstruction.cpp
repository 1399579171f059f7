#include "geometry/featureconstruction.h"

#include "geometry/featurefit.h"
#include "geometry/featurerelation.h"

#include <Eigen/Geometry>
#include <cmath>

namespace {
// Below this sine of the angle between them, two lines or a line and a plane count as parallel: their
// crossing would lie farther off than any part on the table.
constexpr double ParallelSine = 1e-9;

TGeometryFeature PointFeature(const Eigen::Vector3d &p)
{
    TGeometryFeature f;
    f.type = TFeatureType::Point;
    f.location = p;
    return f;
}

TGeometryFeature LineFeature(const Eigen::Vector3d &p, const Eigen::Vector3d &direction)
{
    TGeometryFeature f;
    f.type = TFeatureType::Line;
    f.location = p;
    f.direction = CanonicalDirection(direction.normalized());
    return f;
}

bool Finite(const Eigen::Vector3d &v)
{
    return v.allFinite();
}

bool UsableDirection(const TGeometryFeature &f)
{
    const double n = f.direction.norm();
    return std::isfinite(n) && n > 0.5 && Finite(f.location);
}

TGeometryOutcome NeedsCentre(const TGeometryFeature &f, const char *what)
{
    return TGeometryOutcome::Refused(std::string(what) + " takes points or centres, not a " +
                                     FeatureTypeWord(f.type));
}

// The closest points of two lines p + s u and q + t v (u, v unit, not parallel).
void ClosestPoints(const Eigen::Vector3d &p, const Eigen::Vector3d &u, const Eigen::Vector3d &q,
                   const Eigen::Vector3d &v, Eigen::Vector3d &onFirst, Eigen::Vector3d &onSecond)
{
    const Eigen::Vector3d w = p - q;
    const double b = u.dot(v);
    const double d = u.dot(w);
    const double e = v.dot(w);
    const double denominator = 1.0 - b * b;
    const double s = (b * e - d) / denominator;
    const double t = (e - b * d) / denominator;
    onFirst = p + s * u;
    onSecond = q + t * v;
}
} // namespace

Eigen::Vector3d CanonicalDirection(const Eigen::Vector3d &direction)
{
    int largest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(direction[i]) > std::abs(direction[largest]))
            largest = i;
    return direction[largest] < 0 ? Eigen::Vector3d(-direction) : direction;
}

TLineIntersection IntersectLines(const TGeometryFeature &a, const TGeometryFeature &b,
                                 const TGeometryFeature *inPlane)
{
    if (!HasAxis(a.type) || !HasAxis(b.type))
        return {TGeometryOutcome::Refused("an intersection takes two lines or axes"), 0.0};
    if (!UsableDirection(a) || !UsableDirection(b))
        return {TGeometryOutcome::Refused("a line has no direction"), 0.0};
    const Eigen::Vector3d u = a.direction.normalized();
    const Eigen::Vector3d v = b.direction.normalized();
    if (u.cross(v).norm() < ParallelSine)
        return {TGeometryOutcome::Refused("the lines are parallel; they do not meet"), 0.0};
    Eigen::Vector3d onA, onB;
    ClosestPoints(a.location, u, b.location, v, onA, onB);
    const double gap = (onB - onA).norm();
    if (inPlane == nullptr)
        return {TGeometryOutcome::Made(PointFeature(0.5 * (onA + onB))), gap};

    if (!UsableDirection(*inPlane))
        return {TGeometryOutcome::Refused("the plane has no normal"), gap};
    const Eigen::Vector3d n = inPlane->direction.normalized();
    auto project = [&](const Eigen::Vector3d &x) { return x - (x - inPlane->location).dot(n) * n; };
    const Eigen::Vector3d pu = u - u.dot(n) * n;
    const Eigen::Vector3d pv = v - v.dot(n) * n;
    if (pu.norm() < ParallelSine || pv.norm() < ParallelSine)
        return {TGeometryOutcome::Refused("a line is square to the plane; its projection is a point"), gap};
    if (pu.normalized().cross(pv.normalized()).norm() < ParallelSine)
        return {TGeometryOutcome::Refused("the lines are parallel in the plane; they do not meet"), gap};
    Eigen::Vector3d onPa, onPb;
    ClosestPoints(project(a.location), pu.normalized(), project(b.location), pv.normalized(), onPa, onPb);
    return {TGeometryOutcome::Made(PointFeature(0.5 * (onPa + onPb))), gap};
}

TGeometryOutcome PiercePoint(const TGeometryFeature &line, const TGeometryFeature &plane)
{
    if (!HasAxis(line.type) || plane.type != TFeatureType::Plane)
        return TGeometryOutcome::Refused("a pierce point takes a line or axis and a plane");
    if (!UsableDirection(line) || !UsableDirection(plane))
        return TGeometryOutcome::Refused("a direction is missing");
    const Eigen::Vector3d u = line.direction.normalized();
    const Eigen::Vector3d n = plane.direction.normalized();
    const double along = u.dot(n);
    if (std::abs(along) < ParallelSine)
        return TGeometryOutcome::Refused("the " + FeatureTypeWord(line.type) +
                                         " is parallel to the plane; it does not pierce it");
    const double t = (plane.location - line.location).dot(n) / along;
    return TGeometryOutcome::Made(PointFeature(line.location + t * u));
}

TGeometryOutcome PlanesIntersection(const TGeometryFeature &a, const TGeometryFeature &b)
{
    if (a.type != TFeatureType::Plane || b.type != TFeatureType::Plane)
        return TGeometryOutcome::Refused("the line where planes meet takes two planes");
    if (!UsableDirection(a) || !UsableDirection(b))
        return TGeometryOutcome::Refused("a plane has no normal");
    const Eigen::Vector3d na = a.direction.normalized();
    const Eigen::Vector3d nb = b.direction.normalized();
    const Eigen::Vector3d d = na.cross(nb);
    if (d.norm() < ParallelSine)
        return TGeometryOutcome::Refused("the planes are parallel; they do not meet");
    // The point on both planes nearest the midpoint m: m + x, with x solving the two plane equations and
    // having no part along the line.
    const Eigen::Vector3d m = 0.5 * (a.location + b.location);
    Eigen::Matrix3d system;
    system.row(0) = na.transpose();
    system.row(1) = nb.transpose();
    system.row(2) = d.normalized().transpose();
    const Eigen::Vector3d rhs((a.location - m).dot(na), (b.location - m).dot(nb), 0.0);
    const Eigen::Vector3d x = system.colPivHouseholderQr().solve(rhs);
    return TGeometryOutcome::Made(LineFeature(m + x, d));
}

TGeometryOutcome Midpoint(const TGeometryFeature &a, const TGeometryFeature &b)
{
    if (!HasCentre(a.type))
        return NeedsCentre(a, "a midpoint");
    if (!HasCentre(b.type))
        return NeedsCentre(b, "a midpoint");
    return TGeometryOutcome::Made(PointFeature(0.5 * (a.location + b.location)));
}

TGeometryOutcome ProjectOntoPlane(const TGeometryFeature &centre, const TGeometryFeature &plane)
{
    if (!HasCentre(centre.type))
        return NeedsCentre(centre, "a projection");
    if (plane.type != TFeatureType::Plane)
        return TGeometryOutcome::Refused("a projection goes onto a plane, not a " +
                                         FeatureTypeWord(plane.type));
    if (!UsableDirection(plane))
        return TGeometryOutcome::Refused("the plane has no normal");
    const Eigen::Vector3d n = plane.direction.normalized();
    return TGeometryOutcome::Made(
        PointFeature(centre.location - (centre.location - plane.location).dot(n) * n));
}

TGeometryOutcome LineThroughCentres(const TGeometryFeature &a, const TGeometryFeature &b)
{
    if (!HasCentre(a.type))
        return NeedsCentre(a, "a line through centres");
    if (!HasCentre(b.type))
        return NeedsCentre(b, "a line through centres");
    const Eigen::Vector3d d = b.location - a.location;
    if (!(d.norm() > 1e-9))
        return TGeometryOutcome::Refused("the centres coincide; no line passes through them alone");
    return TGeometryOutcome::Made(LineFeature(0.5 * (a.location + b.location), d));
}

TGeometryOutcome BoltCircle(const std::vector<TGeometryFeature> &centres)
{
    if (centres.size() < 3)
        return TGeometryOutcome::Refused("a bolt circle needs at least 3 centres");
    TPointList points;
    points.reserve(centres.size());
    for (const TGeometryFeature &f : centres) {
        if (!HasCentre(f.type))
            return NeedsCentre(f, "a bolt circle");
        points.push_back(f.location);
    }
    return FitCircle(points);
}
