#include "exactfeatures.h"
#include "geometry/featurerelation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace exact;

namespace {
const double Deg = std::numbers::pi / 180.0;

struct TRelationCase
{
    const char *name;
    TGeometryFeature a;
    TGeometryFeature b;
    double value; // ignored when refused
    const char *refusal = nullptr;
};

std::ostream &operator<<(std::ostream &os, const TRelationCase &c)
{
    return os << c.name;
}

std::string CaseName(const testing::TestParamInfo<TRelationCase> &info)
{
    return info.param.name;
}

class Distance : public testing::TestWithParam<TRelationCase>
{
};

// Each order of the pair must give the same value: the station lets the operator select either first.
TEST_P(Distance, MatchesHandValueEitherWayRound)
{
    const TRelationCase &c = GetParam();
    for (const auto &[first, second] : {std::pair{c.a, c.b}, std::pair{c.b, c.a}}) {
        const TRelationOutcome out = FeatureDistance(first, second);
        if (c.refusal) {
            EXPECT_FALSE(out.ok);
            EXPECT_NE(out.reason.find(c.refusal), std::string::npos) << out.reason;
        } else {
            ASSERT_TRUE(out.ok) << out.reason;
            EXPECT_NEAR(out.value, c.value, 1e-12);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Distance,
    testing::Values(
        TRelationCase{"CentreToCentre", Circle({1, 2, 3}, {0, 0, 1}, 10), Sphere({4, 6, 3}, 5), 5.0},
        TRelationCase{"PointToLine", Point({0, 3, 4}), Line({5, 0, 0}, {1, 0, 0}), 5.0},
        TRelationCase{"CentreToCylinderAxis", Circle({3, 4, 7}, {0, 0, 1}, 2),
                      Cylinder({0, 0, 2}, {0, 0, 1}, 8), 5.0},
        TRelationCase{"PointBelowPlaneIsNegative", Point({7, 1, -2}), Plane({0, 0, 0}, {0, 0, 1}), -2.0},
        TRelationCase{"PointToTiltedPlane", Sphere({0, 5, 10}, 3), Plane({0, 0, 0}, {0, 0.6, 0.8}), 11.0},
        TRelationCase{"CrossingLinesMeet", Line({0, 0, 0}, {1, 0, 0}), Line({4, -3, 0}, {0, 1, 0}), 0.0},
        TRelationCase{"SkewLines", Line({1, 2, 3}, {1, 1, 0}), Line({0, 0, 0}, {1, -1, 0}), 3.0},
        TRelationCase{"ParallelLines", Line({0, 0, 0}, {1, 0, 0}), Line({9, 3, 4}, {1, 0, 0}), 5.0},
        TRelationCase{"LineToConeAxis", Line({0, 0, 6}, {0, 1, 0}), Cone({0, 0, 0}, {1, 0, 0}, 10, 30), 6.0},
        TRelationCase{"ParallelPlanes", Plane({0, 0, 0}, {0, 0, 1}), Plane({5, 5, 10}, {0, 0, 1}), 10.0},
        // A normal that points the other way must not cancel the distance.
        TRelationCase{"FacingPlanes", Plane({0, 0, 0}, {0, 0, 1}), Plane({1, 1, 10}, {0, 0, -1}), 10.0},
        TRelationCase{"LineParallelToPlane", Line({0, 0, 4}, {1, 1, 0}), Plane({3, 3, 0}, {0, 0, 1}), 4.0},
        TRelationCase{"PlanesAtAnAngle", Plane({0, 0, 0}, {0, 0, 1}),
                      Plane({0, 0, 5}, {0, std::sin(30 * Deg), std::cos(30 * Deg)}), 0, "not parallel"},
        TRelationCase{"LineThroughPlane", Line({0, 0, 4}, {1, 0, 1}), Plane({0, 0, 0}, {0, 0, 1}), 0,
                      "crosses the plane"},
        TRelationCase{"PlaneWithoutNormal", Point({0, 0, 1}), Plane({0, 0, 0}, {0, 0, 0}), 0,
                      "no direction"}),
    CaseName);

TEST(DistanceComponents, CentreToCentreGivesSecondLessFirst)
{
    const TRelationOutcome out = FeatureDistance(Point({1, 2, 3}), Circle({4, 6, 3}, {0, 0, 1}, 2));
    ASSERT_TRUE(out.ok && out.hasDelta);
    EXPECT_TRUE(out.delta.isApprox(Eigen::Vector3d(3, 4, 0)));
    EXPECT_FALSE(FeatureDistance(Point({1, 2, 3}), Plane({0, 0, 0}, {0, 0, 1})).hasDelta);
}

class Angle : public testing::TestWithParam<TRelationCase>
{
};

TEST_P(Angle, MatchesHandValueEitherWayRound)
{
    const TRelationCase &c = GetParam();
    for (const auto &[first, second] : {std::pair{c.a, c.b}, std::pair{c.b, c.a}}) {
        const TRelationOutcome out = FeatureAngle(first, second);
        if (c.refusal) {
            EXPECT_FALSE(out.ok);
            EXPECT_NE(out.reason.find(c.refusal), std::string::npos) << out.reason;
        } else {
            ASSERT_TRUE(out.ok) << out.reason;
            EXPECT_NEAR(out.value, c.value, 1e-10);
        }
    }
}

const Eigen::Vector3d At30(std::cos(30 * Deg), std::sin(30 * Deg), 0);

INSTANTIATE_TEST_SUITE_P(
    Pairs, Angle,
    testing::Values(
        TRelationCase{"Lines", Line({0, 0, 0}, {1, 0, 0}), Line({5, 5, 5}, At30), 30.0},
        // Lines carry no sense: 150 degrees between their direction vectors is 30 between the lines.
        TRelationCase{"LinesObtuse", Line({0, 0, 0}, {1, 0, 0}), Line({0, 0, 0}, {-At30.x(), At30.y(), 0}),
                      30.0},
        TRelationCase{"SquarePlanes", Plane({0, 0, 0}, {0, 0, 1}), Plane({0, 0, 0}, {1, 0, 0}), 90.0},
        TRelationCase{"LineAndPlane", Line({0, 0, 0}, {std::cos(30 * Deg), 0, std::sin(30 * Deg)}),
                      Plane({0, 0, 0}, {0, 0, 1}), 30.0},
        TRelationCase{"LineSquareToPlane", Cylinder({0, 0, 0}, {0, 0, 1}, 5), Plane({1, 1, 1}, {0, 0, 1}),
                      90.0},
        TRelationCase{"Axes", Cylinder({0, 0, 0}, {0, 0, 1}, 5), Cone({0, 0, 0}, {0, 1, 1}, 8, 20), 45.0},
        TRelationCase{"LineInCirclesPlane", Circle({0, 0, 0}, {0, 0, 1}, 5), Line({0, 0, 0}, {1, 1, 0}), 0.0},
        TRelationCase{"TwoSpheres", Sphere({0, 0, 0}, 5), Sphere({1, 0, 0}, 5), 0,
                      "no angle between two spheres"},
        TRelationCase{"PointAndPlane", Point({0, 0, 0}), Plane({0, 0, 0}, {0, 0, 1}), 0,
                      "no angle between a"}),
    CaseName);

TEST(AngleToDirection, OfLinesToAnAxisAndRefusedForCentres)
{
    EXPECT_NEAR(AngleToDirection(Line({0, 0, 0}, {1, 1, 0}), {1, 0, 0}).value, 45.0, 1e-10);
    EXPECT_NEAR(AngleToDirection(Line({0, 0, 0}, {-1, 0, 0}), {1, 0, 0}).value, 0.0, 1e-10);
    EXPECT_FALSE(AngleToDirection(Sphere({0, 0, 0}, 2), {1, 0, 0}).ok);
}
} // namespace
