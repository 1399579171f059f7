#include "geometry/probecompensation.h"

#include "geometry/featurefit.h"

#include <Eigen/Geometry>
#include <cmath>
#include <numbers>

namespace {
// An approach within this many degrees of the surface's tangent says nothing about the side.
constexpr double TangentialCosine = 0.17364817766693033; // cos 80 degrees

TCompensationOutcome AsFitted(const TGeometryFeature &fitted, std::string reason)
{
    return {TGeometryOutcome::Made(fitted), false, TProbeSide::None, std::move(reason)};
}

TCompensationOutcome Compensated(const TGeometryFeature &feature, TProbeSide side)
{
    return {TGeometryOutcome::Made(feature), true, side, {}};
}

bool IsRound(TFeatureType type)
{
    return type == TFeatureType::Circle || type == TFeatureType::Sphere || type == TFeatureType::Cylinder ||
           type == TFeatureType::Cone;
}

// The unit direction from the feature toward a point: away from the centre of a sphere, away from the axis
// of a cylinder or cone, away from the centre in the circle's plane. Zero on the centre or axis.
Eigen::Vector3d Outward(const TGeometryFeature &f, const Eigen::Vector3d &p)
{
    Eigen::Vector3d r = p - f.location;
    if (f.type != TFeatureType::Sphere) {
        const Eigen::Vector3d axis = f.direction.normalized();
        r -= r.dot(axis) * axis;
    }
    const double n = r.norm();
    return n > 1e-12 ? Eigen::Vector3d(r / n) : Eigen::Vector3d::Zero();
}

// The side the approaches agree on: +1 all along the reference direction at each point, -1 all against
// it, 0 with the reason otherwise.
int Vote(const TApproachList &approaches, const std::vector<Eigen::Vector3d> &reference, std::string &reason)
{
    int along = 0;
    int against = 0;
    for (std::size_t i = 0; i < approaches.size(); ++i) {
        if (!approaches[i] || !(approaches[i]->norm() > 0) || !approaches[i]->allFinite()) {
            reason = "point " + std::to_string(i + 1) + " has no approach direction";
            return 0;
        }
        const double c = approaches[i]->normalized().dot(reference[i]);
        if (std::abs(c) < TangentialCosine) {
            reason = "point " + std::to_string(i + 1) + " was approached along the surface";
            return 0;
        }
        (c > 0 ? along : against)++;
    }
    if (along > 0 && against > 0) {
        reason = "the approach directions disagree (" + std::to_string(along) + " one way, " +
                 std::to_string(against) + " the other)";
        return 0;
    }
    return along > 0 ? 1 : -1;
}

TCompensationOutcome CompensateRound(const TGeometryFeature &fitted, int sign, double ball)
{
    // A cone's surface offset square to itself by the radius changes its radius, measured square to the
    // axis, by the radius over the cosine of the half angle.
    double change = ball;
    if (fitted.type == TFeatureType::Cone)
        change = ball / std::cos(0.5 * fitted.apexAngle * std::numbers::pi / 180.0);
    TGeometryFeature f = fitted;
    f.diameter = fitted.diameter + sign * change;
    if (!(f.diameter > 0))
        return AsFitted(fitted, "the ball is larger than the feature probed from outside");
    return Compensated(f, sign > 0 ? TProbeSide::Inside : TProbeSide::Outside);
}
} // namespace

TCompensationOutcome CompensateFeature(const TGeometryFeature &fitted, const TPointList &centres,
                                       const TApproachList &approaches, double ballDiameter, TProbeSide side)
{
    if (ballDiameter == 0.0 || side == TProbeSide::None)
        return AsFitted(fitted, {});
    if (!std::isfinite(ballDiameter) || ballDiameter < 0)
        return AsFitted(fitted, "the ball diameter is not a size");
    const double radius = 0.5 * ballDiameter;

    if (side != TProbeSide::Auto) {
        if (IsRound(fitted.type))
            return CompensateRound(fitted, side == TProbeSide::Inside ? 1 : -1, ballDiameter);
        if (fitted.type == TFeatureType::Plane) {
            // From outside the probe came down the normal onto the face; the surface lies one radius
            // against the normal from the ball centres.
            TGeometryFeature f = fitted;
            const int sign = side == TProbeSide::Outside ? -1 : 1;
            f.location += sign * radius * fitted.direction.normalized();
            return Compensated(f, side);
        }
        return AsFitted(fitted, "a " + std::string(fitted.type == TFeatureType::Line ? "line" : "point") +
                                    " has no inside or outside; its side comes from the approach");
    }

    if (approaches.size() != centres.size() || centres.empty())
        return AsFitted(fitted, "the points have no approach directions");
    std::string reason;
    switch (fitted.type) {
    case TFeatureType::Circle:
    case TFeatureType::Sphere:
    case TFeatureType::Cylinder:
    case TFeatureType::Cone: {
        std::vector<Eigen::Vector3d> outward;
        outward.reserve(centres.size());
        for (const Eigen::Vector3d &p : centres)
            outward.push_back(Outward(fitted, p));
        const int sign = Vote(approaches, outward, reason);
        if (sign == 0)
            return AsFitted(fitted, reason);
        // Moving outward at the touch means the probe was inside: a bore.
        return CompensateRound(fitted, sign, ballDiameter);
    }
    case TFeatureType::Plane: {
        const Eigen::Vector3d n = fitted.direction.normalized();
        const int sign = Vote(approaches, std::vector<Eigen::Vector3d>(centres.size(), n), reason);
        if (sign == 0)
            return AsFitted(fitted, reason);
        TGeometryFeature f = fitted;
        f.location += sign * radius * n;
        return Compensated(f, sign > 0 ? TProbeSide::Inside : TProbeSide::Outside);
    }
    case TFeatureType::Line: {
        const Eigen::Vector3d d = fitted.direction.normalized();
        Eigen::Vector3d mean = Eigen::Vector3d::Zero();
        for (std::size_t i = 0; i < approaches.size(); ++i) {
            if (!approaches[i] || !(approaches[i]->norm() > 0) || !approaches[i]->allFinite())
                return AsFitted(fitted, "point " + std::to_string(i + 1) + " has no approach direction");
            mean += approaches[i]->normalized();
        }
        Eigen::Vector3d square = mean - mean.dot(d) * d;
        if (square.norm() < TangentialCosine * static_cast<double>(approaches.size()))
            return AsFitted(fitted, "the probe came along the line; no side to move it to");
        square.normalize();
        for (std::size_t i = 0; i < approaches.size(); ++i) {
            const Eigen::Vector3d a = approaches[i]->normalized();
            const Eigen::Vector3d across = a - a.dot(d) * d;
            if (across.norm() < TangentialCosine)
                return AsFitted(fitted, "point " + std::to_string(i + 1) + " was approached along the line");
            if (across.normalized().dot(square) < TangentialCosine)
                return AsFitted(fitted, "the approach directions disagree");
        }
        TGeometryFeature f = fitted;
        f.location += radius * square;
        return Compensated(f, TProbeSide::Outside);
    }
    case TFeatureType::Point: {
        const auto &a = approaches.front();
        if (!a || !(a->norm() > 0) || !a->allFinite())
            return AsFitted(fitted, "the point has no approach direction");
        TGeometryFeature f = fitted;
        f.location += radius * a->normalized();
        return Compensated(f, TProbeSide::Outside);
    }
    }
    return AsFitted(fitted, {});
}

TCompensationOutcome FitCompensated(TFeatureType type, const TPointList &centres,
                                    const TApproachList &approaches, double ballDiameter, TProbeSide side)
{
    const TGeometryOutcome fit = FitFeature(type, centres);
    if (!fit.ok)
        return {fit, false, TProbeSide::None, {}};
    return CompensateFeature(fit.feature, centres, approaches, ballDiameter, side);
}
