#include "featurecompare.h"

#include <Eigen/Geometry>
#include <cmath>
#include <numbers>

namespace {
double DistanceToLine(const Eigen::Vector3d &p, const Eigen::Vector3d &point,
                      const Eigen::Vector3d &direction)
{
    return (p - point).cross(direction).norm();
}

double AngleBetween(const Eigen::Vector3d &a, const Eigen::Vector3d &b, bool signedDirection)
{
    const double angle = std::atan2(a.cross(b).norm(), a.dot(b));
    return signedDirection ? angle : std::min(angle, std::numbers::pi - angle);
}

constexpr double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}
} // namespace

TDeviation Deviation(const TGeometryFeature &f, const TReference &ref)
{
    TDeviation d;
    switch (ref.type) {
    case TFeatureType::Point:
        d.location = (ref.point - f.location).norm();
        break;
    case TFeatureType::Line:
        d.location = DistanceToLine(ref.point, f.location, f.direction);
        d.orientation = AngleBetween(ref.direction, f.direction, false);
        break;
    case TFeatureType::Cylinder:
        d.location = DistanceToLine(ref.point, f.location, f.direction);
        d.orientation = AngleBetween(ref.direction, f.direction, false);
        d.size = std::abs(f.diameter - ref.diameter);
        break;
    case TFeatureType::Plane:
        d.location = std::abs((ref.point - f.location).dot(f.direction));
        d.orientation = AngleBetween(ref.direction, f.direction, false);
        break;
    case TFeatureType::Circle:
        d.location = (ref.point - f.location).norm();
        d.orientation = AngleBetween(ref.direction, f.direction, false);
        d.size = std::abs(f.diameter - ref.diameter);
        break;
    case TFeatureType::Sphere:
        d.location = (ref.point - f.location).norm();
        d.size = std::abs(f.diameter - ref.diameter);
        break;
    case TFeatureType::Cone: {
        d.location = DistanceToLine(ref.point, f.location, f.direction);
        d.orientation = AngleBetween(ref.direction, f.direction, true);
        // The fitted surface is rho cos(psi) - z sin(psi) = (D/2) cos(psi) about the fitted location.
        const double psi = Radians(f.apexAngle / 2.0);
        const Eigen::Vector3d w = ref.point - f.location;
        const double z = w.dot(f.direction);
        const double rho = (w - z * f.direction).norm();
        const double toSurface = f.diameter / 2.0 * std::cos(psi) + z * std::sin(psi) - rho * std::cos(psi);
        d.size = std::abs(toSurface - ref.toSurface);
        d.apex = Radians(std::abs(f.apexAngle - ref.apexAngle));
        break;
    }
    }
    return d;
}
