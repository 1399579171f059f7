#include "exactfeatures.h"
#include "geometry/probecompensation.h"

#include <Eigen/Geometry>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace exact;

namespace {
const double Deg = std::numbers::pi / 180.0;
constexpr double Ball = 2.0;

// Ball centres round an axis at the given radius, with the approach of each: along the outward radius
// (sign +1, from inside a bore) or against it (sign -1, onto a boss), plus some travel along the axis.
struct TRound
{
    TPointList centres;
    TApproachList approaches;
};

TRound AroundAxis(const V &centre, const V &axis, double radius, int sign, int count = 4)
{
    const V a = axis.normalized();
    const V e1 = a.unitOrthogonal();
    const V e2 = a.cross(e1);
    TRound r;
    for (int i = 0; i < count; ++i) {
        const double t = 2 * std::numbers::pi * i / count + 0.3;
        const V out = std::cos(t) * e1 + std::sin(t) * e2;
        r.centres.push_back(centre + radius * out + (i % 2) * 3.0 * a);
        r.approaches.push_back(V(sign * out + 0.4 * a));
    }
    return r;
}

struct TRoundCase
{
    const char *name;
    TFeatureType type;
    V axis;
    double surfaceDiameter;
    int sign; // +1 probed from inside, -1 from outside
    TProbeSide expectedSide;
};

std::ostream &operator<<(std::ostream &os, const TRoundCase &c)
{
    return os << c.name;
}

class RoundFeature : public testing::TestWithParam<TRoundCase>
{
};

// A bore's ball centres lie one radius inside its wall, a boss's one radius outside: both must read the
// drawn size once compensated.
TEST_P(RoundFeature, ReadsTheSurfaceDiameter)
{
    const TRoundCase &c = GetParam();
    const V centre(40, -12, 7);
    const double centresDiameter = c.surfaceDiameter - c.sign * Ball;
    const TRound probed = AroundAxis(centre, c.axis, centresDiameter / 2, c.sign);
    const TGeometryFeature fitted =
        Make(c.type, centre, c.type == TFeatureType::Sphere ? V::Zero() : c.axis, centresDiameter);

    const TCompensationOutcome out = CompensateFeature(fitted, probed.centres, probed.approaches, Ball);
    ASSERT_TRUE(out.outcome.ok);
    EXPECT_TRUE(out.compensated) << out.reason;
    EXPECT_EQ(out.side, c.expectedSide);
    EXPECT_NEAR(out.outcome.feature.diameter, c.surfaceDiameter, 1e-12);
    EXPECT_EQ(out.outcome.feature.location, centre);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundFeature,
    testing::Values(TRoundCase{"Bore", TFeatureType::Circle, V(0, 0, 1), 20.0, 1, TProbeSide::Inside},
                    TRoundCase{"Boss", TFeatureType::Circle, V(0, 0, 1), 20.0, -1, TProbeSide::Outside},
                    TRoundCase{"TiltedBoreInCylinder", TFeatureType::Cylinder,
                               V(0, std::sin(20 * Deg), std::cos(20 * Deg)), 20.0, 1, TProbeSide::Inside},
                    TRoundCase{"TiltedShaft", TFeatureType::Cylinder,
                               V(std::sin(35 * Deg), 0, std::cos(35 * Deg)), 20.0, -1, TProbeSide::Outside},
                    TRoundCase{"SphereFromOutside", TFeatureType::Sphere, V(0, 0, 1), 25.0, -1,
                               TProbeSide::Outside}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConeCompensation, ChangesTheDiameterByTheBallOverTheHalfAngleCosine)
{
    const TGeometryFeature fitted = Cone({0, 0, 0}, {0, 0, 1}, 12.0, 60.0);
    const TRound probed = AroundAxis({0, 0, 0}, {0, 0, 1}, 6.0, -1, 6);
    const TCompensationOutcome out = CompensateFeature(fitted, probed.centres, probed.approaches, Ball);
    ASSERT_TRUE(out.compensated) << out.reason;
    EXPECT_NEAR(out.outcome.feature.diameter, 12.0 - Ball / std::cos(30 * Deg), 1e-12);
}

struct TFlatCase
{
    const char *name;
    TGeometryFeature fitted;
    TPointList centres;
    TApproachList approaches;
    V surfaceLocation;
};

std::ostream &operator<<(std::ostream &os, const TFlatCase &c)
{
    return os << c.name;
}

class FlatFeature : public testing::TestWithParam<TFlatCase>
{
};

TEST_P(FlatFeature, MovesByTheRadiusTowardTheMaterial)
{
    const TFlatCase &c = GetParam();
    const TCompensationOutcome out = CompensateFeature(c.fitted, c.centres, c.approaches, Ball);
    ASSERT_TRUE(out.compensated) << out.reason;
    EXPECT_LT((out.outcome.feature.location - c.surfaceLocation).norm(), 1e-12)
        << out.outcome.feature.location.transpose();
    EXPECT_EQ(out.outcome.feature.direction, c.fitted.direction);
}

const TPointList Three{{0, 0, 1}, {10, 0, 1}, {0, 10, 1}};
const TPointList ThreeBelow{{0, 0, -1}, {10, 0, -1}, {0, 10, -1}};

INSTANTIATE_TEST_SUITE_P(
    Cases, FlatFeature,
    testing::Values(
        // The top face at Z 0: the ball centres are 1 mm above it, the probe coming down.
        TFlatCase{"PlaneFromAbove",
                  Plane({3, 3, 1}, {0, 0, 1}),
                  Three,
                  {V(0, 0, -1), V(0.2, 0, -3), V(0, -0.1, -1)},
                  V(3, 3, 0)},
        // The underside at Z 0: the centres 1 mm below it, the probe coming up.
        TFlatCase{"PlaneFromBelow",
                  Plane({3, 3, -1}, {0, 0, 1}),
                  ThreeBelow,
                  {V(0, 0, 1), V(0.2, 0, 3), V(0, -0.1, 1)},
                  V(3, 3, 0)},
        // An edge along X at Y 0, material at positive Y: the probe moves along the edge too, and only
        // the part of its travel square to the edge says where the material is.
        TFlatCase{"LineAlongAnEdge",
                  Line({5, -1, 4}, {1, 0, 0}),
                  {{0, -1, 4}, {5, -1, 4}, {10, -1, 4}},
                  {V(0.5, 1, 0), V(-0.3, 1, 0), V(0.8, 1, 0)},
                  V(5, 0, 4)},
        TFlatCase{"PointAlongItsApproach", Point({2, 2, 2}), {{2, 2, 2}}, {V(0, 0, -7)}, V(2, 2, 1)}),
    [](const auto &info) { return std::string(info.param.name); });

struct TUncompensatedCase
{
    const char *name;
    TGeometryFeature fitted;
    TRound probed;
    double ball;
    TProbeSide side;
    const char *reason; // "" for none
};

std::ostream &operator<<(std::ostream &os, const TUncompensatedCase &c)
{
    return os << c.name;
}

class Uncompensated : public testing::TestWithParam<TUncompensatedCase>
{
};

TEST_P(Uncompensated, KeepsTheFitAndSaysWhy)
{
    const TUncompensatedCase &c = GetParam();
    const TCompensationOutcome out =
        CompensateFeature(c.fitted, c.probed.centres, c.probed.approaches, c.ball, c.side);
    ASSERT_TRUE(out.outcome.ok);
    EXPECT_FALSE(out.compensated);
    EXPECT_EQ(out.side, TProbeSide::None);
    EXPECT_EQ(out.outcome.feature.diameter, c.fitted.diameter);
    EXPECT_EQ(out.outcome.feature.location, c.fitted.location);
    if (*c.reason == '\0')
        EXPECT_TRUE(out.reason.empty()) << out.reason;
    else
        EXPECT_NE(out.reason.find(c.reason), std::string::npos) << out.reason;
}

TRound BoreWith(std::function<void(TRound &)> change)
{
    TRound r = AroundAxis({0, 0, 0}, {0, 0, 1}, 9.0, 1);
    change(r);
    return r;
}

const TGeometryFeature Bore18 = Circle({0, 0, 0}, {0, 0, 1}, 18.0);

INSTANTIATE_TEST_SUITE_P(
    Cases, Uncompensated,
    testing::Values(
        TUncompensatedCase{"Disagreeing", Bore18,
                           BoreWith([](TRound &r) { *r.approaches[2] = -*r.approaches[2]; }), Ball,
                           TProbeSide::Auto, "disagree"},
        TUncompensatedCase{"MissingOne", Bore18, BoreWith([](TRound &r) { r.approaches[1].reset(); }), Ball,
                           TProbeSide::Auto, "point 2 has no approach"},
        TUncompensatedCase{"NoneKept", Bore18, BoreWith([](TRound &r) { r.approaches.clear(); }), Ball,
                           TProbeSide::Auto, "no approach"},
        // Sliding round the wall says nothing of the side.
        TUncompensatedCase{"Tangential", Bore18,
                           BoreWith([](TRound &r) { *r.approaches[0] = V(0, 0, 1).cross(r.centres[0]); }),
                           Ball, TProbeSide::Auto, "along the surface"},
        TUncompensatedCase{"OperatorSaysNone", Bore18, BoreWith([](TRound &) {}), Ball, TProbeSide::None, ""},
        TUncompensatedCase{"NoBall", Bore18, BoreWith([](TRound &) {}), 0.0, TProbeSide::Auto, ""},
        TUncompensatedCase{"NegativeBall", Bore18, BoreWith([](TRound &) {}), -2.0, TProbeSide::Auto,
                           "not a size"},
        TUncompensatedCase{"BossSmallerThanBall", Circle({0, 0, 0}, {0, 0, 1}, 1.5),
                           AroundAxis({0, 0, 0}, {0, 0, 1}, 0.75, -1), Ball, TProbeSide::Auto, "larger than"},
        TUncompensatedCase{
            "LineHasNoInside", Line({0, 0, 0}, {1, 0, 0}), {}, Ball, TProbeSide::Inside, "no inside"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OperatorSide, OverridesTheApproachDirections)
{
    // A boss's centres (22 mm) with no approaches kept: "Outside" by hand.
    const TCompensationOutcome boss =
        CompensateFeature(Circle({0, 0, 0}, {0, 0, 1}, 22.0), {}, {}, Ball, TProbeSide::Outside);
    ASSERT_TRUE(boss.compensated);
    EXPECT_NEAR(boss.outcome.feature.diameter, 20.0, 1e-12);
    // Inside by hand wins over approaches that say outside.
    const TRound onto = AroundAxis({0, 0, 0}, {0, 0, 1}, 9.0, -1);
    const TCompensationOutcome bore = CompensateFeature(Circle({0, 0, 0}, {0, 0, 1}, 18.0), onto.centres,
                                                        onto.approaches, Ball, TProbeSide::Inside);
    EXPECT_NEAR(bore.outcome.feature.diameter, 20.0, 1e-12);
    // A face probed from the side its normal points to lies one radius below the centres.
    const TCompensationOutcome face =
        CompensateFeature(Plane({0, 0, 1}, {0, 0, 1}), {}, {}, Ball, TProbeSide::Outside);
    EXPECT_LT((face.outcome.feature.location - V(0, 0, 0)).norm(), 1e-12);
    EXPECT_EQ(face.side, TProbeSide::Outside);
}
} // namespace
