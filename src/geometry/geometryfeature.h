#pragma once

#include <Eigen/Core>
#include <string>
#include <vector>

// A geometric feature in machine coordinates, millimetres, double precision: fitted to probed points,
// constructed from other features, or a single recorded point.
enum class TFeatureType
{
    Point,
    Line,
    Plane,
    Circle,
    Sphere,
    Cylinder,
    Cone,
};

struct TGeometryFeature
{
    TFeatureType type = TFeatureType::Point;
    // Line and plane: the centroid of the points. Circle and sphere: the centre. Cylinder and cone: the
    // point of the axis nearest the points' centroid. Point: the point.
    Eigen::Vector3d location = Eigen::Vector3d::Zero();
    // A unit vector: a line's direction, a plane's or a circle's normal, a cylinder's or a cone's axis.
    // Lines, normals and cylinder axes have their largest component positive (the first such one on a
    // tie); a cone's axis points toward increasing diameter. Zero for a point and a sphere.
    Eigen::Vector3d direction = Eigen::Vector3d::Zero();
    // Circle, sphere, cylinder; a cone's diameter at location. Zero otherwise.
    double diameter = 0.0;
    // A cone's full apex angle, degrees. Zero otherwise.
    double apexAngle = 0.0;

    // Of the fit: the number of points, each point's signed orthogonal distance from the feature in
    // input order (positive outside a circle, sphere, cylinder or cone, and on the side the normal
    // points to for a plane; for a line the unsigned distance), the form error (largest minus smallest
    // residual; for a line, whose distances carry no sign, twice the largest: the diameter of the
    // cylinder round it that holds the points) and the root mean square residual. Empty and zero for a
    // constructed feature.
    int points = 0;
    std::vector<double> residuals;
    double form = 0.0;
    double rms = 0.0;
};

// A fit or a construction either gives a feature or says why it cannot ("needs at least 3 points",
// "the points are collinear"...), never a NaN.
struct TGeometryOutcome
{
    bool ok = false;
    TGeometryFeature feature;
    std::string reason;

    static TGeometryOutcome Made(TGeometryFeature feature) { return {true, std::move(feature), {}}; }
    static TGeometryOutcome Refused(std::string reason) { return {false, {}, std::move(reason)}; }
};

using TPointList = std::vector<Eigen::Vector3d>;
