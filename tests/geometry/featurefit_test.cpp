// The fits on points that lie exactly on known features (tilted, far from the origin, full and
// partial), on the classical circle, on sets that fix no feature, and the signs of their residuals.
#include "featurecompare.h"
#include "geometry/featurefit.h"

#include <Eigen/Geometry>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

// An orthonormal frame (u, v) across the unit axis n.
void Across(const Eigen::Vector3d &n, Eigen::Vector3d &u, Eigen::Vector3d &v)
{
    u = n.unitOrthogonal();
    v = n.cross(u);
}

// Points on a surface of revolution round the axis (point, n): at each height z of `heights`, `around`
// points on the arc from 0 to `arc` degrees at the radius the profile gives. The start angle steps a
// little per height so no two heights repeat the same directions.
TPointList Revolve(const Eigen::Vector3d &point, const Eigen::Vector3d &n, const std::vector<double> &heights,
                   int around, double arc, const std::function<double(double)> &radius)
{
    Eigen::Vector3d u, v;
    Across(n, u, v);
    TPointList points;
    const bool full = arc >= 360.0;
    for (std::size_t h = 0; h < heights.size(); ++h)
        for (int k = 0; k < around; ++k) {
            const double t = Radians(arc) * (k + (full ? 0.37 * h : 0.0)) / (full ? around : around - 1);
            const double z = heights[h];
            points.push_back(point + z * n + radius(z) * (std::cos(t) * u + std::sin(t) * v));
        }
    return points;
}

struct TExactCase
{
    const char *name;
    TPointList points;
    TReference reference;
};

TReference Ref(TFeatureType type, Eigen::Vector3d point, Eigen::Vector3d direction = Eigen::Vector3d::Zero(),
               double diameter = 0.0, double apex = 0.0, double toSurface = 0.0)
{
    return {type,     point, direction.normalized().eval().allFinite() ? direction.normalized() : direction,
            diameter, apex,  toSurface};
}

std::vector<TExactCase> ExactCases()
{
    const Eigen::Vector3d far(612.5, -843.25, 377.125);
    const Eigen::Vector3d tilt = Eigen::Vector3d(0.3, -0.5, 0.81).normalized();
    std::vector<TExactCase> cases;

    TPointList line;
    for (int k = 0; k < 7; ++k)
        line.push_back(far + (k * k - 3.5 * k) * tilt);
    cases.push_back({"LineTiltedFar", line, Ref(TFeatureType::Line, far, tilt)});
    // The fewest points a line takes: two, fewer than the three singular values of a spread in space.
    cases.push_back(
        {"LineOfTwoPoints", {far - 4.0 * tilt, far + 26.0 * tilt}, Ref(TFeatureType::Line, far, tilt)});

    TPointList plane;
    Eigen::Vector3d u, v;
    Across(tilt, u, v);
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 3; ++b)
            plane.push_back(far + (a * 13.0 - 20.0) * u + (b * 7.5 - 4.0) * v);
    cases.push_back({"PlaneTiltedFar", plane, Ref(TFeatureType::Plane, far, tilt)});

    auto constant = [](double r) { return [r](double) { return r; }; };
    cases.push_back({"CircleFull", Revolve(far, tilt, {0.0}, 8, 360.0, constant(10.0)),
                     Ref(TFeatureType::Circle, far, tilt, 20.0)});
    cases.push_back({"CircleArc20Degrees", Revolve(far, tilt, {0.0}, 6, 20.0, constant(10.0)),
                     Ref(TFeatureType::Circle, far, tilt, 20.0)});
    cases.push_back({"CircleThreePoints", Revolve(far, tilt, {0.0}, 3, 120.0, constant(2.5)),
                     Ref(TFeatureType::Circle, far, tilt, 5.0)});

    TPointList sphere, cap;
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 6; ++k) {
            const double polar = Radians(20.0 + 30.0 * i), azimuth = Radians(60.0 * k + 11.0 * i);
            const Eigen::Vector3d d(std::sin(polar) * std::cos(azimuth), std::sin(polar) * std::sin(azimuth),
                                    std::cos(polar));
            sphere.push_back(far + 12.5 * d);
            const double capPolar = Radians(5.0 + 6.0 * i);
            cap.push_back(far + 12.5 * Eigen::Vector3d(std::sin(capPolar) * std::cos(azimuth),
                                                       std::sin(capPolar) * std::sin(azimuth),
                                                       std::cos(capPolar)));
        }
    cases.push_back({"SphereFull", sphere, Ref(TFeatureType::Sphere, far, {}, 25.0)});
    cases.push_back({"SphereCap30Degrees", cap, Ref(TFeatureType::Sphere, far, {}, 25.0)});

    cases.push_back({"CylinderFull", Revolve(far, tilt, {-15.0, 0.0, 20.0}, 6, 360.0, constant(7.5)),
                     Ref(TFeatureType::Cylinder, far, tilt, 15.0)});
    cases.push_back({"CylinderPatch90Degrees",
                     Revolve(far, tilt, {-10.0, 0.0, 10.0}, 5, 90.0, constant(20.0)),
                     Ref(TFeatureType::Cylinder, far, tilt, 40.0)});
    cases.push_back({"CylinderShortWide", Revolve(far, tilt, {0.0, 2.0}, 6, 360.0, constant(40.0)),
                     Ref(TFeatureType::Cylinder, far, tilt, 80.0)});

    // Cones: the radius at height z is r0 + z tan(psi); toSurface is the axis point's distance r0 cos(psi).
    auto cone = [&](const char *name, double apex, double r0, std::vector<double> heights, int around,
                    double arc) {
        const double psi = Radians(apex / 2.0);
        cases.push_back(
            {name, Revolve(far, tilt, heights, around, arc, [=](double z) { return r0 + z * std::tan(psi); }),
             Ref(TFeatureType::Cone, far, tilt, 0.0, apex, r0 * std::cos(psi))});
    };
    cone("ConeNarrow", 10.0, 6.0, {-8.0, 0.0, 9.0}, 6, 360.0);
    cone("ConeCountersink90", 90.0, 8.0, {-3.0, 2.5}, 6, 360.0);
    cone("ConeFlat160", 160.0, 30.0, {-0.8, 0.0, 0.6}, 6, 360.0);
    cone("ConePatch120Degrees", 30.0, 15.0, {-5.0, 0.0, 6.0}, 4, 120.0);
    return cases;
}

class ExactFit : public testing::TestWithParam<TExactCase>
{
};

TEST_P(ExactFit, RecoversTheFeatureWithZeroResiduals)
{
    const TExactCase &c = GetParam();
    const TGeometryOutcome outcome = FitFeature(c.reference.type, c.points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    const TGeometryFeature &f = outcome.feature;
    const TDeviation d = Deviation(f, c.reference);
    EXPECT_LE(d.location, 1e-9);
    EXPECT_LE(d.orientation, 1e-10);
    EXPECT_LE(d.size, 1e-9);
    EXPECT_LE(d.apex, 1e-10);
    EXPECT_LE(f.form, 1e-9);
    EXPECT_LE(f.rms, 1e-9);
    EXPECT_EQ(f.points, static_cast<int>(c.points.size()));
    if (f.type != TFeatureType::Sphere && f.type != TFeatureType::Cone) {
        // Directions without a sign of their own have their largest component positive.
        Eigen::Index largest;
        f.direction.cwiseAbs().maxCoeff(&largest);
        EXPECT_GT(f.direction(largest), 0.0);
    }
    if (f.type == TFeatureType::Line || f.type == TFeatureType::Plane) {
        Eigen::Vector3d centroid = Eigen::Vector3d::Zero();
        for (const auto &p : c.points)
            centroid += p / static_cast<double>(c.points.size());
        EXPECT_LE((f.location - centroid).norm(), 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Features, ExactFit, testing::ValuesIn(ExactCases()),
                         [](const testing::TestParamInfo<TExactCase> &info) { return info.param.name; });

TEST(FeatureFit, ClassicalCircle)
{
    const TPointList points = {{1, 7, 0}, {2, 6, 0}, {5, 8, 0}, {7, 7, 0}, {9, 5, 0}, {3, 7, 0}};
    const TGeometryOutcome outcome = FitCircle(points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    EXPECT_NEAR(outcome.feature.location.x(), 4.7398, 5e-5);
    EXPECT_NEAR(outcome.feature.location.y(), 2.9835, 5e-5);
    EXPECT_NEAR(outcome.feature.location.z(), 0.0, 1e-12);
    EXPECT_NEAR(outcome.feature.diameter / 2.0, 4.7142, 5e-5);
    EXPECT_TRUE(outcome.feature.direction.isApprox(Eigen::Vector3d::UnitZ()));
}

TEST(FeatureFit, ConeAxisPointsTowardIncreasingDiameter)
{
    // The axis given points down (largest component negative) and the cone opens downward.
    const Eigen::Vector3d down = Eigen::Vector3d(0.1, 0.2, -1.0).normalized();
    const TPointList points =
        Revolve({5, 5, 5}, down, {0.0, 4.0, 8.0}, 5, 360.0, [](double z) { return 3.0 + 0.25 * z; });
    const TGeometryOutcome outcome = FitCone(points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    EXPECT_GT(outcome.feature.direction.dot(down), 0.999999);
    // The diameter is the cone's at the axis point nearest the centroid (z = 4 here).
    EXPECT_NEAR(outcome.feature.diameter, 2.0 * (3.0 + 0.25 * 4.0), 1e-9);
    EXPECT_NEAR(outcome.feature.apexAngle, 2.0 * std::atan(0.25) * 180.0 / kPi, 1e-9);
}

// One point pushed outward (away from the centre or axis, or along the normal) reads a positive
// residual, the largest one, and the form error is the spread of the residuals.
struct TSignCase
{
    const char *name;
    TFeatureType type;
    TPointList points;
    Eigen::Vector3d outward; // the direction that pushes point 0 outside
};

std::vector<TSignCase> SignCases()
{
    const Eigen::Vector3d c(10, 20, 30);
    auto ring = [&](double z) {
        return Revolve(c, Eigen::Vector3d::UnitZ(), {z}, 12, 360.0, [](double) { return 5.0; });
    };
    TPointList plane;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            plane.push_back(c + Eigen::Vector3d(a, b, 0.0));
    TPointList cylinder = ring(0.0), second = ring(10.0);
    cylinder.insert(cylinder.end(), second.begin(), second.end());
    TPointList sphere = ring(0.0);
    for (const auto &p : ring(0.0))
        sphere.push_back(c + (p - c + Eigen::Vector3d(0, 0, 3.0)).normalized() * 5.0);
    TPointList cone = Revolve(c, Eigen::Vector3d::UnitZ(), {0.0, 5.0, 10.0}, 12, 360.0,
                              [](double z) { return 5.0 + 0.2 * z; });
    const Eigen::Vector3d radial = (ring(0.0)[0] - c).normalized();
    return {
        {"Plane", TFeatureType::Plane, plane, Eigen::Vector3d::UnitZ()},
        {"Circle", TFeatureType::Circle, ring(0.0), radial},
        {"Sphere", TFeatureType::Sphere, sphere, radial},
        {"Cylinder", TFeatureType::Cylinder, cylinder, radial},
        {"Cone", TFeatureType::Cone, cone, radial},
    };
}

class ResidualSign : public testing::TestWithParam<TSignCase>
{
};

TEST_P(ResidualSign, PushedOutwardReadsPositive)
{
    TPointList points = GetParam().points;
    points[0] += 0.01 * GetParam().outward;
    const TGeometryOutcome outcome = FitFeature(GetParam().type, points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    const auto &r = outcome.feature.residuals;
    ASSERT_EQ(r.size(), points.size());
    EXPECT_GT(r[0], 0.005);
    EXPECT_EQ(std::max_element(r.begin(), r.end()) - r.begin(), 0);
    EXPECT_DOUBLE_EQ(outcome.feature.form, r[0] - *std::min_element(r.begin(), r.end()));
}

INSTANTIATE_TEST_SUITE_P(Features, ResidualSign, testing::ValuesIn(SignCases()),
                         [](const testing::TestParamInfo<TSignCase> &info) { return info.param.name; });

TEST(FeatureFit, LineStraightnessHoldsPointsAllRoundTheLine)
{
    // Points at 0.01 from the fitted line in pairs on opposite sides: the unsigned distances are all
    // alike, the straightness is the diameter of the cylinder that holds them.
    const TPointList points = {{0, 0.01, 0},  {0, -0.01, 0},  {10, 0, 0.01}, {10, 0, -0.01},
                               {20, 0.01, 0}, {20, -0.01, 0}, {30, 0, 0.01}, {30, 0, -0.01}};
    const TGeometryOutcome outcome = FitLine(points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    EXPECT_NEAR(outcome.feature.form, 0.02, 1e-9);
    for (double r : outcome.feature.residuals)
        EXPECT_NEAR(r, 0.01, 1e-9);
}

// Sets that fix no feature are refused with their reason, never a NaN.
struct TRefusedCase
{
    const char *name;
    TFeatureType type;
    TPointList points;
    const char *reason; // a part of the reason
};

std::vector<TRefusedCase> RefusedCases()
{
    const Eigen::Vector3d p(100.5, -200.25, 300.125);
    const Eigen::Vector3d d = Eigen::Vector3d(1, 2, 3).normalized();
    const double nan = std::nan("");
    TPointList collinear, coplanar;
    for (int k = 0; k < 8; ++k) {
        collinear.push_back(p + (k * 2.5) * d);
        coplanar.push_back(p + 10.0 * Eigen::Vector3d(std::cos(k * 0.8), std::sin(k * 0.8), 0.0) +
                           Eigen::Vector3d(k * 0.3, 0, 0));
    }
    const TPointList cylinder = Revolve(p, d, {-5.0, 0.0, 5.0}, 6, 360.0, [](double) { return 4.0; });
    TPointList twice = Revolve(p, d, {0.0}, 3, 180.0, [](double) { return 4.0; });
    twice.push_back(p + 5.0 * d + 4.0 * d.unitOrthogonal());
    twice.push_back(twice[0]);
    return {
        {"LineOnePoint", TFeatureType::Line, {p}, "at least 2 points"},
        {"LineCoincident", TFeatureType::Line, {p, p, p}, "coincide"},
        {"PlaneCollinear", TFeatureType::Plane, collinear, "collinear"},
        {"CircleCollinear", TFeatureType::Circle, collinear, "collinear"},
        {"CircleTwoAlikeOfThree", TFeatureType::Circle, {p, p, p + d}, "collinear"},
        {"SphereTooFew", TFeatureType::Sphere, {p, p + d, p + d.unitOrthogonal()}, "at least 4 points"},
        {"SphereCoplanar", TFeatureType::Sphere, coplanar, "coplanar"},
        {"CylinderCoplanar", TFeatureType::Cylinder, coplanar, "coplanar"},
        {"CylinderRepeatedPoint", TFeatureType::Cylinder, twice, "distinct points"},
        {"ConeCoplanar", TFeatureType::Cone, coplanar, "coplanar"},
        {"ConeOnACylinder", TFeatureType::Cone, cylinder, "cylinder"},
        {"NotANumber",
         TFeatureType::Plane,
         {p, p + d, Eigen::Vector3d(1, nan, 2)},
         "point 3 is not a finite"},
        {"Infinite",
         TFeatureType::Cylinder,
         {p, p, p, p, Eigen::Vector3d(HUGE_VAL, 0, 0), p},
         "point 5 is not a finite"},
        {"PointOfTwo", TFeatureType::Point, {p, p}, "exactly 1 point"},
    };
}

class RefusedFit : public testing::TestWithParam<TRefusedCase>
{
};

TEST_P(RefusedFit, GivesTheReason)
{
    const TGeometryOutcome outcome = FitFeature(GetParam().type, GetParam().points);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.reason.find(GetParam().reason), std::string::npos) << outcome.reason;
}

INSTANTIATE_TEST_SUITE_P(Sets, RefusedFit, testing::ValuesIn(RefusedCases()),
                         [](const testing::TestParamInfo<TRefusedCase> &info) { return info.param.name; });

double SumOfSquares(const std::vector<double> &residuals)
{
    double sum = 0.0;
    for (double r : residuals)
        sum += r * r;
    return sum;
}

TEST(FeatureFit, NoisyPartialFeaturesConverge)
{
    // A 20 degree arc and a 60 degree cylinder patch with +-2 um of deterministic noise: the fits
    // converge to a sum of squares no larger than the true feature's, near its size (a short arc
    // leaves the radius loosely fixed).
    auto noise = [](int k) { return 0.002 * std::sin(k * 12.9898 + 78.233); };
    const Eigen::Vector3d centre(1, 2, 3), axis = Eigen::Vector3d(0, 1, 1).normalized();
    TPointList arc = Revolve(centre, Eigen::Vector3d::UnitZ(), {0.0}, 15, 20.0, [](double) { return 10.0; });
    TPointList patch = Revolve(centre, axis, {-10.0, -3.0, 4.0, 10.0}, 8, 60.0, [](double) { return 10.0; });
    std::vector<double> arcTruth, patchTruth;
    for (std::size_t k = 0; k < arc.size(); ++k) {
        arc[k] += noise(int(k)) * (arc[k] - centre).normalized();
        arcTruth.push_back(noise(int(k)));
    }
    for (std::size_t k = 0; k < patch.size(); ++k) {
        patch[k].x() += noise(int(k));
        const Eigen::Vector3d w = patch[k] - centre;
        patchTruth.push_back((w - w.dot(axis) * axis).norm() - 10.0);
    }
    const auto circle = FitCircle(arc);
    ASSERT_TRUE(circle.ok) << circle.reason;
    EXPECT_NEAR(circle.feature.diameter, 20.0, 1.0);
    EXPECT_LE(SumOfSquares(circle.feature.residuals), SumOfSquares(arcTruth));
    const auto cylinder = FitCylinder(patch);
    ASSERT_TRUE(cylinder.ok) << cylinder.reason;
    EXPECT_NEAR(cylinder.feature.diameter, 20.0, 0.1);
    EXPECT_GT(std::abs(cylinder.feature.direction.dot(axis)), 0.9999);
    EXPECT_LE(SumOfSquares(cylinder.feature.residuals), SumOfSquares(patchTruth));
}
} // namespace
