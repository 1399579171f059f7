#include "geometry/orientationzone.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using O = TOrientationKind;

TGeometryFeature Feature(TFeatureType type, Eigen::Vector3d direction)
{
    TGeometryFeature feature;
    feature.type = type;
    feature.direction = direction.normalized();
    return feature;
}

// Points along a line from start, spaced evenly over length along direction.
TPointList Along(const Eigen::Vector3d &start, const Eigen::Vector3d &direction, double length)
{
    TPointList points;
    for (int i = 0; i <= 4; ++i)
        points.push_back(start + direction.normalized() * (length * i / 4.0));
    return points;
}

// A grid over x in [0, xs], y in [0, ys] on the surface z = f(x, y).
template <typename Height> TPointList Grid(double xs, double ys, Height height, bool swapXZ = false)
{
    TPointList points;
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) {
            const double x = xs * i / 3.0, y = ys * j / 3.0;
            const Eigen::Vector3d p(x, y, height(x, y));
            points.push_back(swapXZ ? Eigen::Vector3d(p.z(), p.y(), p.x()) : p);
        }
    return points;
}

struct TZoneCase
{
    const char *what;
    O kind;
    TGeometryFeature feature;
    TPointList points;
    TGeometryFeature datum;
    double width;
};

class OrientationZoneTest : public ::testing::TestWithParam<TZoneCase>
{
};

TEST_P(OrientationZoneTest, IsTheTiltOverTheFeaturesExtent)
{
    const TZoneCase &c = GetParam();
    const TZoneOutcome outcome = OrientationZone(c.kind, c.feature, c.points, c.datum);
    ASSERT_TRUE(outcome.ok) << c.what << ": " << outcome.reason;
    EXPECT_NEAR(outcome.width, c.width, 1e-9) << c.what;
}

const TGeometryFeature Floor = Feature(TFeatureType::Plane, {0, 0, 1});
const Eigen::Vector3d Leaning(0.01, 0, 1); // 0.01 mm off per mm of height
const Eigen::Vector3d Rising(40, 0, 0.02); // 0.02 mm up over 40 mm
const Eigen::Vector3d AxisLean(0.003, 0, 1);

INSTANTIATE_TEST_SUITE_P(
    Pairs, OrientationZoneTest,
    ::testing::Values(
        // A line 10 mm long leaning by atan(0.01) from the floor's normal: 10 sin(atan 0.01).
        TZoneCase{"line square to a plane", O::Perpendicularity, Feature(TFeatureType::Line, Leaning),
                  Along({5, 5, 0}, Leaning, 10.0), Floor, 10.0 * 0.01 / std::sqrt(1.0001)},
        // The same line, asked to be parallel to the floor, is nearly all out of it.
        TZoneCase{"steep line parallel to a plane", O::Parallelism, Feature(TFeatureType::Line, Leaning),
                  Along({5, 5, 0}, Leaning, 10.0), Floor, 10.0 / std::sqrt(1.0001)},
        TZoneCase{"line parallel to a plane", O::Parallelism, Feature(TFeatureType::Line, Rising),
                  Along({0, 3, 1}, Rising, Rising.norm()), Floor, 0.02},
        // A face rising 0.001 per mm over 50 mm rises 0.05 through the zone parallel to the floor.
        TZoneCase{"plane parallel to a plane", O::Parallelism, Feature(TFeatureType::Plane, {0, -0.001, 1}),
                  Grid(50, 50, [](double, double y) { return 0.001 * y; }), Floor, 0.05},
        // A wall x = 0.002 z over 30 mm of height: 0.06 out of square with the floor.
        TZoneCase{"plane square to a plane", O::Perpendicularity,
                  Feature(TFeatureType::Plane, {1, 0, -0.002}),
                  Grid(
                      30, 20, [](double z, double) { return 0.002 * z; }, true),
                  Floor, 0.06},
        // A cylinder's axis leaning by atan(0.003), its surface points spanning 20 mm of it.
        TZoneCase{"axis square to a plane", O::Perpendicularity, Feature(TFeatureType::Cylinder, AxisLean),
                  TPointList{{0, 5, 0},
                             {0, -5, 0},
                             Eigen::Vector3d(0, 5, 0) + AxisLean.normalized() * 20,
                             Eigen::Vector3d(0, -5, 0) + AxisLean.normalized() * 20},
                  Floor, 20.0 * 0.003 / std::sqrt(1.000009)},
        TZoneCase{"line square to a line", O::Perpendicularity, Feature(TFeatureType::Line, {1, 0, 0}),
                  Along({0, 0, 0}, {1, 0, 0}, 25.0), Feature(TFeatureType::Line, {0.002, 1, 0}),
                  25.0 * 0.002 / std::sqrt(1.000004)},
        TZoneCase{"line parallel to a line", O::Parallelism, Feature(TFeatureType::Line, {1, 0.002, 0}),
                  Along({0, 0, 0}, {1, 0.002, 0}, 25.0), Feature(TFeatureType::Line, {1, 0, 0}),
                  25.0 * 0.002 / std::sqrt(1.000004)},
        // A face z = 0.001 x over 10 mm against a vertical axis.
        TZoneCase{"plane square to an axis", O::Perpendicularity,
                  Feature(TFeatureType::Plane, {-0.001, 0, 1}),
                  Grid(10, 10, [](double x, double) { return 0.001 * x; }),
                  Feature(TFeatureType::Cylinder, {0, 0, 1}), 0.01},
        // A face that lies flat where it should stand square is off by its whole extent (10 by 10).
        TZoneCase{"plane parallel where square is asked", O::Perpendicularity,
                  Feature(TFeatureType::Plane, {0, 0, 1}), Grid(10, 10, [](double, double) { return 0.0; }),
                  Floor, 10.0}));

TEST(OrientationZone, ResidualsOfThePointsAreLeftToTheForm)
{
    // A perfectly square wall whose points scatter by +-0.004 about it: its orientation is exact.
    TPointList points = Grid(
        30, 20, [](double z, double y) { return (static_cast<int>(z + y) % 2) ? 0.004 : -0.004; }, true);
    const TZoneOutcome outcome =
        OrientationZone(O::Perpendicularity, Feature(TFeatureType::Plane, {1, 0, 0}), points, Floor);
    ASSERT_TRUE(outcome.ok);
    EXPECT_NEAR(outcome.width, 0.0, 1e-12);
}

TEST(OrientationZone, RefusesWhatHasNoOrientationOrNoExtent)
{
    const TPointList points = Along({0, 0, 0}, {1, 0, 0}, 10.0);
    const TGeometryFeature line = Feature(TFeatureType::Line, {1, 0, 0});
    TGeometryFeature sphere;
    sphere.type = TFeatureType::Sphere;
    TGeometryFeature circle = Feature(TFeatureType::Circle, {0, 0, 1});
    EXPECT_FALSE(OrientationZone(O::Parallelism, sphere, points, Floor).ok);
    EXPECT_FALSE(OrientationZone(O::Parallelism, line, points, circle).ok);
    EXPECT_FALSE(OrientationZone(O::Parallelism, line, {}, Floor).ok);
    EXPECT_FALSE(OrientationZone(O::Parallelism, line, points, Feature(TFeatureType::Plane, {0, 0, 0})).ok);
    const TZoneOutcome refused = OrientationZone(O::Parallelism, line, {{0, 0, 0}}, Floor);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.reason.empty());
}

} // namespace
