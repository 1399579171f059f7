#include "plots/featureoutlines.h"

#include <Eigen/Geometry>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

using Eigen::Vector3d;
using TLine3 = std::vector<Vector3d>;

constexpr double kDefaultHalfLength = 5.0;
// Sides of a cylinder or cone whose axis runs within this of the view direction are not drawn: the
// view sees the feature end-on, as its circles.
constexpr double kEndOnSine = 1e-3;

const std::array<Vector3d, 3> kMachineAxes{Vector3d::UnitX(), Vector3d::UnitY(), Vector3d::UnitZ()};

// Two unit vectors that make a right-handed frame with the unit vector n.
std::pair<Vector3d, Vector3d> Across(const Vector3d &n)
{
    // The axis n leans on least, so that the cross product is well away from zero.
    Eigen::Index smallest = 0;
    n.cwiseAbs().minCoeff(&smallest);
    const Vector3d helper = Vector3d::Unit(smallest);
    const Vector3d u = n.cross(helper).normalized();
    return {u, n.cross(u)};
}

TLine3 Circle(const Vector3d &centre, const Vector3d &normal, double radius)
{
    const auto [u, v] = Across(normal);
    TLine3 line;
    line.reserve(TFeatureOutlines::CircleSteps + 1);
    for (int step = 0; step <= TFeatureOutlines::CircleSteps; ++step) {
        const double angle = 2.0 * std::numbers::pi * step / TFeatureOutlines::CircleSteps;
        line.push_back(centre + radius * (std::cos(angle) * u + std::sin(angle) * v));
    }
    return line;
}

// The extent of the points along a direction from origin; fallback either side when there are none.
std::pair<double, double> Extent(const TPointList &points, const Vector3d &origin, const Vector3d &direction,
                                 double fallback)
{
    if (points.empty())
        return {-fallback, fallback};
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const Vector3d &point : points) {
        const double along = (point - origin).dot(direction);
        low = std::min(low, along);
        high = std::max(high, along);
    }
    return {low, high};
}

// The direction a plane view looks along; zero for the 3D view.
Vector3d ViewDirection(int chart)
{
    switch (chart) {
    case 1:
        return Vector3d::UnitZ();
    case 2:
        return Vector3d::UnitY();
    case 3:
        return Vector3d::UnitX();
    default:
        return Vector3d::Zero();
    }
}

bool Finite(const TGeometryFeature &feature)
{
    return feature.location.allFinite() && feature.direction.allFinite() && std::isfinite(feature.diameter) &&
           std::isfinite(feature.apexAngle);
}

struct TShape3
{
    std::vector<TLine3> outlines;
    std::vector<TLine3> axes;
};

// A cylinder (apex 0) or a cone between the axial extents low and high from its location.
void AddRevolved(TShape3 &shape, int chart, const TGeometryFeature &feature, double low, double high)
{
    const Vector3d axis = feature.direction.normalized();
    const double tanHalf = std::tan(feature.apexAngle / 2.0 * std::numbers::pi / 180.0);
    const auto radius = [&](double along) { return std::max(0.0, feature.diameter / 2.0 + along * tanHalf); };
    const Vector3d bottom = feature.location + low * axis;
    const Vector3d top = feature.location + high * axis;
    shape.outlines.push_back(Circle(bottom, axis, radius(low)));
    shape.outlines.push_back(Circle(top, axis, radius(high)));
    std::vector<Vector3d> sides;
    const Vector3d view = ViewDirection(chart);
    if (view.isZero()) {
        const auto [u, v] = Across(axis);
        sides = {u, -u, v, -v};
    } else if (const Vector3d side = axis.cross(view); side.norm() > kEndOnSine) {
        sides = {side.normalized(), -side.normalized()};
    }
    for (const Vector3d &side : sides)
        shape.outlines.push_back({bottom + radius(low) * side, top + radius(high) * side});
    const double reach = 0.1 * std::max(high - low, 1.0);
    shape.axes.push_back({feature.location + (low - reach) * axis, feature.location + (high + reach) * axis});
}

TShape3 Shape(int chart, const TGeometryFeature &feature, const TPointList &points)
{
    TShape3 shape;
    const Vector3d &c = feature.location;
    const Vector3d d = feature.direction.norm() > 0.5 ? feature.direction.normalized() : Vector3d::UnitZ();
    const double radius = feature.diameter / 2.0;
    switch (feature.type) {
    case TFeatureType::Point:
        for (const Vector3d &arm : kMachineAxes)
            shape.outlines.push_back({c - arm, c + arm});
        break;
    case TFeatureType::Line: {
        const auto [low, high] = Extent(points, c, d, kDefaultHalfLength);
        shape.outlines.push_back({c + low * d, c + high * d});
        break;
    }
    case TFeatureType::Plane: {
        const auto [u, v] = Across(d);
        const auto [uLow, uHigh] = Extent(points, c, u, kDefaultHalfLength);
        const auto [vLow, vHigh] = Extent(points, c, v, kDefaultHalfLength);
        shape.outlines.push_back({c + uLow * u + vLow * v, c + uHigh * u + vLow * v,
                                  c + uHigh * u + vHigh * v, c + uLow * u + vHigh * v,
                                  c + uLow * u + vLow * v});
        break;
    }
    case TFeatureType::Circle:
        shape.outlines.push_back(Circle(c, d, radius));
        break;
    case TFeatureType::Sphere:
        if (ViewDirection(chart).isZero()) {
            for (const Vector3d &normal : kMachineAxes)
                shape.outlines.push_back(Circle(c, normal, radius));
        } else {
            shape.outlines.push_back(Circle(c, ViewDirection(chart), radius));
        }
        break;
    case TFeatureType::Cylinder:
    case TFeatureType::Cone: {
        const auto [low, high] = Extent(points, c, d, std::max(radius, kDefaultHalfLength));
        AddRevolved(shape, chart, feature, low, high);
        break;
    }
    }
    return shape;
}

QList<QList<TSeriesPoint>> Placed(int chart, const std::vector<TLine3> &lines)
{
    QList<QList<TSeriesPoint>> placed;
    placed.reserve(static_cast<qsizetype>(lines.size()));
    for (const TLine3 &line : lines) {
        QList<TSeriesPoint> points;
        points.reserve(static_cast<qsizetype>(line.size()));
        for (const Vector3d &point : line)
            points.append(TFeatureOutlines::Place(chart, point));
        placed.append(points);
    }
    return placed;
}

} // namespace

TSeriesPoint TFeatureOutlines::Place(int chart, const Eigen::Vector3d &point)
{
    switch (chart) {
    case 1:
        return {point.x(), point.y(), 0.0};
    case 2:
        return {point.x(), point.z(), 0.0};
    case 3:
        return {point.y(), point.z(), 0.0};
    default:
        return {point.x(), point.z(), point.y()};
    }
}

TFeatureShape TFeatureOutlines::InView(int chart, const TGeometryFeature &feature, const TPointList &points)
{
    TFeatureShape shape;
    if (!Finite(feature))
        return shape;
    const TShape3 lines = Shape(chart, feature, points);
    shape.outlines = Placed(chart, lines.outlines);
    shape.axes = Placed(chart, lines.axes);
    return shape;
}
