#pragma once

#include "geometry/geometryfeature.h"

// Features built by hand with exact numbers, for tests that need a feature without fitting one.
namespace exact {
using V = Eigen::Vector3d;

inline TGeometryFeature Make(TFeatureType type, const V &location, const V &direction = V::Zero(),
                             double diameter = 0.0, double apex = 0.0)
{
    TGeometryFeature f;
    f.type = type;
    f.location = location;
    f.direction = direction.norm() > 0 ? V(direction.normalized()) : direction;
    f.diameter = diameter;
    f.apexAngle = apex;
    return f;
}
inline TGeometryFeature Point(const V &p)
{
    return Make(TFeatureType::Point, p);
}
inline TGeometryFeature Line(const V &p, const V &d)
{
    return Make(TFeatureType::Line, p, d);
}
inline TGeometryFeature Plane(const V &p, const V &n)
{
    return Make(TFeatureType::Plane, p, n);
}
inline TGeometryFeature Circle(const V &c, const V &n, double d)
{
    return Make(TFeatureType::Circle, c, n, d);
}
inline TGeometryFeature Sphere(const V &c, double d)
{
    return Make(TFeatureType::Sphere, c, V::Zero(), d);
}
inline TGeometryFeature Cylinder(const V &p, const V &axis, double d)
{
    return Make(TFeatureType::Cylinder, p, axis, d);
}
inline TGeometryFeature Cone(const V &p, const V &axis, double d, double apex)
{
    return Make(TFeatureType::Cone, p, axis, d, apex);
}
} // namespace exact
