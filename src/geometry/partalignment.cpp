#include "geometry/partalignment.h"

#include "geometry/featurerelation.h"

#include <Eigen/Geometry>
#include <cmath>

namespace {
// A secondary within this sine of the primary direction leaves the rotation about Z unfixed (under about
// 0.06 degrees: a secondary that close to square to the part's plane is a probing mistake).
constexpr double ParallelSine = 1e-3;

TAlignmentOutcome Refused(std::string reason)
{
    return {false, TPartAlignment(), std::move(reason)};
}

bool UsableDirection(const Eigen::Vector3d &d)
{
    const double n = d.norm();
    return std::isfinite(n) && n > 1e-12;
}
} // namespace

TAlignmentOutcome TPartAlignment::Make(const TAlignmentInput &input)
{
    const TGeometryFeature &primary = input.primary;
    if (primary.type != TFeatureType::Plane && !HasAxis(primary.type))
        return Refused("the primary is a plane or a line's, cylinder's or cone's axis, not a " +
                       FeatureTypeWord(primary.type));
    if (!UsableDirection(primary.direction) || !primary.location.allFinite())
        return Refused("the primary has no direction");
    const Eigen::Vector3d z = primary.direction.normalized();

    Eigen::Vector3d secondaryDirection;
    if (input.secondaryTo) {
        if (!HasCentre(input.secondary.type) || !HasCentre(input.secondaryTo->type))
            return Refused("a secondary through two features takes two points or centres");
        secondaryDirection = input.secondaryTo->location - input.secondary.location;
        if (!(secondaryDirection.norm() > 1e-9))
            return Refused("the secondary's two centres coincide");
    } else {
        if (!HasAxis(input.secondary.type))
            return Refused("the secondary is a line or an axis, not a " +
                           FeatureTypeWord(input.secondary.type));
        if (!UsableDirection(input.secondary.direction))
            return Refused("the secondary has no direction");
        secondaryDirection = input.secondary.direction.normalized();
    }
    if (!secondaryDirection.allFinite())
        return Refused("the secondary has no direction");
    const Eigen::Vector3d inPlane =
        secondaryDirection.normalized() - secondaryDirection.normalized().dot(z) * z;
    if (inPlane.norm() < ParallelSine)
        return Refused("the secondary is parallel to the primary; it fixes no rotation");

    if (!HasCentre(input.origin.type))
        return Refused("the origin is a point or a centre, not a " + FeatureTypeWord(input.origin.type));
    if (!input.origin.location.allFinite())
        return Refused("the origin has no position");
    Eigen::Vector3d origin = input.origin.location;
    if (input.originZFromPrimary) {
        if (primary.type != TFeatureType::Plane)
            return Refused("only a plane primary can give the origin its Z");
        origin -= (origin - primary.location).dot(z) * z;
    }

    TAlignmentOutcome out = FromFrame(origin, inPlane, z, input.originZFromPrimary);
    return out;
}

TAlignmentOutcome TPartAlignment::FromFrame(const Eigen::Vector3d &origin, const Eigen::Vector3d &xAxis,
                                            const Eigen::Vector3d &zAxis, bool originZFromPrimary)
{
    if (!origin.allFinite() || !xAxis.allFinite() || !zAxis.allFinite())
        return Refused("the frame holds a number that is not finite");
    if (!UsableDirection(zAxis) || !UsableDirection(xAxis))
        return Refused("an axis of the frame is zero");
    const Eigen::Vector3d z = zAxis.normalized();
    const Eigen::Vector3d xInPlane = xAxis.normalized() - xAxis.normalized().dot(z) * z;
    if (xInPlane.norm() < ParallelSine)
        return Refused("the frame's X and Z axes are parallel");
    const Eigen::Vector3d x = xInPlane.normalized();
    const Eigen::Vector3d y = z.cross(x);

    TPartAlignment alignment;
    alignment.m_origin = origin;
    alignment.m_rotation.row(0) = x.transpose();
    alignment.m_rotation.row(1) = y.transpose();
    alignment.m_rotation.row(2) = z.transpose();
    alignment.m_originZFromPrimary = originZFromPrimary;
    return {true, alignment, {}};
}

Eigen::Vector3d TPartAlignment::ToPart(const Eigen::Vector3d &machinePoint) const
{
    return m_rotation * (machinePoint - m_origin);
}

Eigen::Vector3d TPartAlignment::ToMachine(const Eigen::Vector3d &partPoint) const
{
    return m_rotation.transpose() * partPoint + m_origin;
}

Eigen::Vector3d TPartAlignment::DirectionToPart(const Eigen::Vector3d &machineDirection) const
{
    return m_rotation * machineDirection;
}

Eigen::Vector3d TPartAlignment::DirectionToMachine(const Eigen::Vector3d &partDirection) const
{
    return m_rotation.transpose() * partDirection;
}

TGeometryFeature TPartAlignment::ToPart(const TGeometryFeature &machineFeature) const
{
    TGeometryFeature f = machineFeature;
    f.location = ToPart(machineFeature.location);
    f.direction = DirectionToPart(machineFeature.direction);
    return f;
}

TGeometryFeature TPartAlignment::ToMachine(const TGeometryFeature &partFeature) const
{
    TGeometryFeature f = partFeature;
    f.location = ToMachine(partFeature.location);
    f.direction = DirectionToMachine(partFeature.direction);
    return f;
}

Eigen::Vector3d TPartAlignment::Axis(int index) const
{
    return m_rotation.row(index < 0 ? 0 : (index > 2 ? 2 : index)).transpose();
}

TGeometryFeature TPartAlignment::PrimaryPlane() const
{
    TGeometryFeature plane;
    plane.type = TFeatureType::Plane;
    plane.location = m_origin;
    plane.direction = Axis(2);
    return plane;
}

TAlignmentRole TPartAlignment::FixedBy(TDegreeOfFreedom freedom) const
{
    switch (freedom) {
    case TDegreeOfFreedom::RotationX:
    case TDegreeOfFreedom::RotationY:
        return TAlignmentRole::Primary;
    case TDegreeOfFreedom::RotationZ:
        return TAlignmentRole::Secondary;
    case TDegreeOfFreedom::TranslationX:
    case TDegreeOfFreedom::TranslationY:
        return TAlignmentRole::Origin;
    case TDegreeOfFreedom::TranslationZ:
        return m_originZFromPrimary ? TAlignmentRole::Primary : TAlignmentRole::Origin;
    }
    return TAlignmentRole::Origin;
}
