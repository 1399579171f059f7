#include "geometry/orientationzone.h"

#include <Eigen/Geometry>
#include <algorithm>
#include <cmath>

namespace {

bool HasOrientation(TFeatureType type)
{
    return type == TFeatureType::Line || type == TFeatureType::Plane || type == TFeatureType::Cylinder ||
           type == TFeatureType::Cone;
}

TZoneOutcome Refused(std::string reason)
{
    return {false, 0.0, std::move(reason)};
}

double Spread(const TPointList &points, const Eigen::Vector3d &along)
{
    double low = points.front().dot(along);
    double high = low;
    for (const Eigen::Vector3d &point : points) {
        const double value = point.dot(along);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    return high - low;
}

} // namespace

TZoneOutcome OrientationZone(TOrientationKind kind, const TGeometryFeature &feature, const TPointList &points,
                             const TGeometryFeature &datum)
{
    if (!HasOrientation(feature.type))
        return Refused("only a line, a plane or an axis has an orientation to judge");
    if (!HasOrientation(datum.type))
        return Refused("the datum must be a plane, a line or an axis");
    if (points.size() < 2)
        return Refused("the feature's points are needed for its extent");
    for (const Eigen::Vector3d &point : points)
        if (!point.allFinite())
            return Refused("the feature's points are not all numbers");
    const double featureLength = feature.direction.norm();
    const double datumLength = datum.direction.norm();
    if (!(featureLength > 0.5 && datumLength > 0.5) || !feature.direction.allFinite() ||
        !datum.direction.allFinite())
        return Refused("the feature or the datum has no direction");
    const Eigen::Vector3d f = feature.direction / featureLength;
    const Eigen::Vector3d d = datum.direction / datumLength;

    // A plane is given by its normal, a line or an axis by its direction: whether the ideal vector lies
    // along the datum's vector or square to it follows from that and from the characteristic.
    const bool featureIsPlane = feature.type == TFeatureType::Plane;
    const bool datumIsPlane = datum.type == TFeatureType::Plane;
    const bool alongDatum = (kind == TOrientationKind::Perpendicularity) == (featureIsPlane != datumIsPlane);

    // The ideal vector nearest the feature's own.
    Eigen::Vector3d ideal;
    if (alongDatum) {
        ideal = f.dot(d) < 0 ? Eigen::Vector3d(-d) : d;
    } else {
        ideal = f - f.dot(d) * d;
        // Exactly along the datum where it should be square: every square direction is as far off.
        ideal = ideal.norm() > 1e-12 ? Eigen::Vector3d(ideal.normalized()) : d.unitOrthogonal();
    }

    TZoneOutcome outcome;
    outcome.ok = true;
    if (featureIsPlane) {
        // The part of the ideal normal that lies in the fitted plane: along it the plane rises through
        // the zone by the sine of its tilt per millimetre, and the points' residuals drop out.
        outcome.width = Spread(points, ideal - ideal.dot(f) * f);
    } else {
        outcome.width = Spread(points, f) * f.cross(ideal).norm();
    }
    return outcome;
}
