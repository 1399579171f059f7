#pragma once

#include "geometry/geometryfeature.h"

#include <optional>
#include <string>

// The features that make a part alignment. The primary (a plane's normal, or the axis of a line, a
// cylinder or a cone) becomes +Z. The secondary, projected into the plane square to +Z, becomes +X: a
// line or axis in its own direction, or, with secondaryTo given, the line from the centre secondary to
// the centre secondaryTo. The origin is a point or centre; with originZFromPrimary (a plane primary
// only) its Z is the primary plane's.
struct TAlignmentInput
{
    TGeometryFeature primary;
    TGeometryFeature secondary;
    std::optional<TGeometryFeature> secondaryTo;
    TGeometryFeature origin;
    bool originZFromPrimary = false;
};

// What fixes a degree of freedom of the part frame.
enum class TAlignmentRole
{
    Primary,
    Secondary,
    Origin,
};
enum class TDegreeOfFreedom
{
    RotationX,
    RotationY,
    RotationZ,
    TranslationX,
    TranslationY,
    TranslationZ,
};

struct TAlignmentOutcome;

// A rigid part frame: part = R (machine - origin), with R's rows the part axes in machine coordinates.
class TPartAlignment
{
public:
    // Refuses what does not make a frame: a primary or secondary of the wrong type, a secondary parallel
    // to the primary, coincident centres for the secondary, an origin that is not a point or centre, the
    // origin's Z from a primary that is not a plane.
    static TAlignmentOutcome Make(const TAlignmentInput &input);
    // A frame as stored: its origin and part X and Z axes in machine coordinates. Y completes a right-
    // handed frame; X is made square to Z. Refuses zero or parallel axes and non-finite numbers.
    static TAlignmentOutcome FromFrame(const Eigen::Vector3d &origin, const Eigen::Vector3d &xAxis,
                                       const Eigen::Vector3d &zAxis, bool originZFromPrimary = false);

    Eigen::Vector3d ToPart(const Eigen::Vector3d &machinePoint) const;
    Eigen::Vector3d ToMachine(const Eigen::Vector3d &partPoint) const;
    Eigen::Vector3d DirectionToPart(const Eigen::Vector3d &machineDirection) const;
    Eigen::Vector3d DirectionToMachine(const Eigen::Vector3d &partDirection) const;
    // The feature's location and direction in part coordinates (the direction turned as it is, with no
    // sign rule applied, so that the secondary line reads 1 0 0); its size, form and residuals kept.
    TGeometryFeature ToPart(const TGeometryFeature &machineFeature) const;
    TGeometryFeature ToMachine(const TGeometryFeature &partFeature) const;

    // The origin and the part's axes (0 X, 1 Y, 2 Z) in machine coordinates.
    const Eigen::Vector3d &Origin() const { return m_origin; }
    Eigen::Vector3d Axis(int index) const;
    // The plane through the origin square to +Z, in machine coordinates: where the primary lies.
    TGeometryFeature PrimaryPlane() const;

    bool OriginZFromPrimary() const { return m_originZFromPrimary; }
    // The tilt (rotations about X and Y) comes from the primary, the rotation about Z from the secondary, the
    // origin's X and Y from the origin feature, its Z from the origin feature or the primary plane.
    TAlignmentRole FixedBy(TDegreeOfFreedom freedom) const;

private:
    Eigen::Vector3d m_origin = Eigen::Vector3d::Zero();
    Eigen::Matrix3d m_rotation = Eigen::Matrix3d::Identity();
    bool m_originZFromPrimary = false;
};

struct TAlignmentOutcome
{
    bool ok = false;
    TPartAlignment alignment;
    std::string reason;
};
