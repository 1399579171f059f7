#include "exactfeatures.h"
#include "geometry/featureconstruction.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace exact;

namespace {
struct TConstructionCase
{
    const char *name;
    std::function<TGeometryOutcome()> construct;
    TFeatureType type = TFeatureType::Point;
    V location = V::Zero();
    V direction = V::Zero();
    const char *refusal = nullptr;
};

std::ostream &operator<<(std::ostream &os, const TConstructionCase &c)
{
    return os << c.name;
}

class Construction : public testing::TestWithParam<TConstructionCase>
{
};

TEST_P(Construction, MatchesHandValue)
{
    const TConstructionCase &c = GetParam();
    const TGeometryOutcome out = c.construct();
    if (c.refusal) {
        EXPECT_FALSE(out.ok);
        EXPECT_NE(out.reason.find(c.refusal), std::string::npos) << out.reason;
        return;
    }
    ASSERT_TRUE(out.ok) << out.reason;
    EXPECT_EQ(out.feature.type, c.type);
    EXPECT_LT((out.feature.location - c.location).norm(), 1e-12) << out.feature.location.transpose();
    EXPECT_LT((out.feature.direction - c.direction).norm(), 1e-12) << out.feature.direction.transpose();
    EXPECT_EQ(out.feature.points, 0);
}

const TGeometryFeature Floor = Plane({0, 0, 0}, {0, 0, 1});
const TGeometryFeature Slope = Plane({0, 0, 0}, {0, 0.6, 0.8});

INSTANTIATE_TEST_SUITE_P(
    Kinds, Construction,
    testing::Values(
        TConstructionCase{"PierceTiltedLine",
                          [] {
                              return PiercePoint(Line({1, 1, 0}, {0, 0.6, 0.8}), Plane({5, 5, 8}, {0, 0, 1}));
                          },
                          TFeatureType::Point, V(1, 7, 8)},
        TConstructionCase{"PierceByCylinderAxis",
                          [] {
                              return PiercePoint(Cylinder({2, 3, 40}, {0, 0, 1}, 10), Slope);
                          },
                          TFeatureType::Point, V(2, 3, -2.25)},
        TConstructionCase{"PierceParallel",
                          [] {
                              return PiercePoint(Line({0, 0, 1}, {1, 0, 0}), Floor);
                          },
                          TFeatureType::Point, V::Zero(), V::Zero(), "parallel"},
        // x = 2 and z = 3 meet along Y; the line's point is the one nearest the planes' locations' midpoint.
        TConstructionCase{
            "PlanesMeet",
            [] {
                return PlanesIntersection(Plane({2, 5, 0}, {1, 0, 0}), Plane({0, 1, 3}, {0, 0, 1}));
            },
            TFeatureType::Line, V(2, 3, 3), V(0, 1, 0)},
        TConstructionCase{"PlanesParallel",
                          [] {
                              return PlanesIntersection(Floor, Plane({0, 0, 5}, {0, 0, -1}));
                          },
                          TFeatureType::Line, V::Zero(), V::Zero(), "parallel"},
        TConstructionCase{"Midpoint",
                          [] {
                              return Midpoint(Circle({0, 0, 0}, {0, 0, 1}, 5), Sphere({2, 4, 6}, 3));
                          },
                          TFeatureType::Point, V(1, 2, 3)},
        TConstructionCase{"MidpointOfALine",
                          [] {
                              return Midpoint(Point({0, 0, 0}), Line({0, 0, 0}, {1, 0, 0}));
                          },
                          TFeatureType::Point, V::Zero(), V::Zero(), "not a line"},
        TConstructionCase{"ProjectOntoSlope",
                          [] {
                              return ProjectOntoPlane(Point({1, 2, 3}), Slope);
                          },
                          TFeatureType::Point, V(1, -0.16, 0.12)},
        TConstructionCase{"ProjectOntoACircle",
                          [] {
                              return ProjectOntoPlane(Point({1, 2, 3}), Circle({0, 0, 0}, {0, 0, 1}, 4));
                          },
                          TFeatureType::Point, V::Zero(), V::Zero(), "not a circle"},
        // The direction follows the line rule (largest component positive, the first on a tie).
        TConstructionCase{"LineThroughCentres",
                          [] {
                              return LineThroughCentres(Circle({0, 0, 0}, {0, 0, 1}, 5), Point({-2, -2, 0}));
                          },
                          TFeatureType::Line, V(-1, -1, 0), V(1, 1, 0).normalized()},
        TConstructionCase{"LineThroughOneCentre",
                          [] {
                              return LineThroughCentres(Point({1, 1, 1}), Sphere({1, 1, 1}, 4));
                          },
                          TFeatureType::Line, V::Zero(), V::Zero(), "coincide"},
        TConstructionCase{
            "BoltCircleOfTwo",
            [] {
                return BoltCircle({Circle({0, 0, 0}, {0, 0, 1}, 5), Circle({9, 0, 0}, {0, 0, 1}, 5)});
            },
            TFeatureType::Circle, V::Zero(), V::Zero(), "at least 3"},
        TConstructionCase{"BoltCircleWithAPlane",
                          [] {
                              return BoltCircle({Point({0, 0, 0}), Point({9, 0, 0}), Floor});
                          },
                          TFeatureType::Circle, V::Zero(), V::Zero(), "not a plane"}),
    [](const auto &info) { return std::string(info.param.name); });

struct TIntersectionCase
{
    const char *name;
    TGeometryFeature a;
    TGeometryFeature b;
    std::optional<TGeometryFeature> plane;
    V point;
    double gap;
};

std::ostream &operator<<(std::ostream &os, const TIntersectionCase &c)
{
    return os << c.name;
}

class LineIntersection : public testing::TestWithParam<TIntersectionCase>
{
};

TEST_P(LineIntersection, MeetsWhereDrawnAndTellsTheGap)
{
    const TIntersectionCase &c = GetParam();
    const TLineIntersection out = IntersectLines(c.a, c.b, c.plane ? &*c.plane : nullptr);
    ASSERT_TRUE(out.outcome.ok) << out.outcome.reason;
    EXPECT_EQ(out.outcome.feature.type, TFeatureType::Point);
    EXPECT_LT((out.outcome.feature.location - c.point).norm(), 1e-12)
        << out.outcome.feature.location.transpose();
    EXPECT_NEAR(out.gap, c.gap, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LineIntersection,
    testing::Values(
        TIntersectionCase{
            "Crossing", Line({0, 0, 0}, {1, 0, 0}), Line({3, -2, 0}, {0, 1, 0}), {}, V(3, 0, 0), 0.0},
        TIntersectionCase{
            "SkewMidpoint", Line({0, 0, 0}, {1, 0, 0}), Line({3, 5, 2}, {0, 1, 0}), {}, V(3, 0, 1), 2.0},
        TIntersectionCase{"SkewInPlane", Line({0, 0, 0}, {1, 0, 0}), Line({3, 5, 2}, {0, 1, 0}),
                          Plane({7, 7, 5}, {0, 0, 1}), V(3, 0, 5), 2.0},
        // Two edges of a tilted face: in the face's plane they cross where the drawing has it.
        TIntersectionCase{"AxisAndLineInPlane", Cylinder({0, 0, 10}, {1, 0, 1}, 4),
                          Line({4, 2, 0}, {0, 1, 0}), Plane({0, 0, 0}, {0, 0, 1}), V(4, 0, 0),
                          7 * std::sqrt(2.0)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LineIntersectionRefusal, ParallelLinesAndNonLines)
{
    EXPECT_FALSE(IntersectLines(Line({0, 0, 0}, {1, 0, 0}), Line({0, 5, 0}, {1, 0, 0})).outcome.ok);
    EXPECT_FALSE(IntersectLines(Line({0, 0, 0}, {1, 0, 0}), Point({0, 5, 0})).outcome.ok);
    // Square to the plane a line has no direction in it.
    const TGeometryFeature floor = Plane({0, 0, 0}, {0, 0, 1});
    EXPECT_FALSE(IntersectLines(Line({0, 0, 0}, {0, 0, 1}), Line({0, 5, 0}, {1, 0, 0}), &floor).outcome.ok);
}
} // namespace
