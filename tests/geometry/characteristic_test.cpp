#include "geometry/characteristic.h"

#include <Eigen/Geometry>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace {

using K = TCharacteristicKind;
using V = TVerdict;

struct TJudgeCase
{
    const char *what;
    K kind;
    TTolerance tolerance;
    double actual;
    V verdict;
    double deviation;
};

class JudgeTest : public ::testing::TestWithParam<TJudgeCase>
{
};

TEST_P(JudgeTest, ReadsOkOnTheLimitAndNokOneStepBeyond)
{
    const TJudgeCase &c = GetParam();
    const TJudgement judgement = Judge(c.kind, c.tolerance, c.actual);
    EXPECT_EQ(judgement.verdict, c.verdict) << c.what;
    ASSERT_TRUE(judgement.deviation) << c.what;
    EXPECT_NEAR(*judgement.deviation, c.deviation, 1e-12) << c.what;
}

const TTolerance Bore{20.0, 0.02, 0.0};     // 20 +0.02/-0
const TTolerance Width{10.0, 0.05, -0.05};  // 10 +-0.05
const TTolerance Shaft{5.0, 0.03, 0.01};    // 5 +0.03/+0.01: both limits above the nominal
const TTolerance Left{-25.0, 0.1, -0.1};    // a position left of the origin
const TTolerance Square{90.0, 0.05, -0.05}; // degrees
const TTolerance Flat{0.0, 0.01, 0.005};    // the lower is not looked at for a form

INSTANTIATE_TEST_SUITE_P(
    Limits, JudgeTest,
    ::testing::Values(
        TJudgeCase{"inside", K::Diameter, Bore, 20.013, V::Ok, 0.013},
        TJudgeCase{"on the upper limit", K::Diameter, Bore, 20.02, V::Ok, 0.02},
        TJudgeCase{"beyond the upper", K::Diameter, Bore, 20.021, V::Nok, 0.021},
        TJudgeCase{"on a lower limit at the nominal", K::Diameter, Bore, 20.0, V::Ok, 0.0},
        TJudgeCase{"below the nominal", K::Diameter, Bore, 19.999, V::Nok, -0.001},
        // Judged as shown with three decimals: 20.0204 reads 20.020, 20.0206 reads 20.021.
        TJudgeCase{"rounds onto the limit", K::Diameter, Bore, 20.0204, V::Ok, 0.02},
        TJudgeCase{"rounds beyond the limit", K::Diameter, Bore, 20.0206, V::Nok, 0.021},
        TJudgeCase{"on a negative lower", K::Distance, Width, 9.95, V::Ok, -0.05},
        TJudgeCase{"below a negative lower", K::Distance, Width, 9.949, V::Nok, -0.051},
        TJudgeCase{"on the upper of +-", K::Distance, Width, 10.05, V::Ok, 0.05},
        TJudgeCase{"beyond the upper of +-", K::Distance, Width, 10.051, V::Nok, 0.051},
        TJudgeCase{"the nominal itself below both limits", K::Diameter, Shaft, 5.0, V::Nok, 0.0},
        TJudgeCase{"on a positive lower", K::Diameter, Shaft, 5.01, V::Ok, 0.01},
        TJudgeCase{"on the upper above", K::Diameter, Shaft, 5.03, V::Ok, 0.03},
        TJudgeCase{"beyond the upper above", K::Diameter, Shaft, 5.031, V::Nok, 0.031},
        TJudgeCase{"negative position on its lower", K::PositionX, Left, -25.1, V::Ok, -0.1},
        TJudgeCase{"negative position beyond", K::PositionX, Left, -25.101, V::Nok, -0.101},
        TJudgeCase{"negative position on its upper", K::PositionX, Left, -24.9, V::Ok, 0.1},
        TJudgeCase{"angle on its lower", K::Angle, Square, 89.95, V::Ok, -0.05},
        TJudgeCase{"angle beyond its lower", K::Angle, Square, 89.949, V::Nok, -0.051},
        TJudgeCase{"form on its tolerance", K::Form, Flat, 0.01, V::Ok, 0.01},
        TJudgeCase{"form beyond", K::Form, Flat, 0.011, V::Nok, 0.011},
        TJudgeCase{"a perfect form has no lower limit", K::Form, Flat, 0.0, V::Ok, 0.0},
        TJudgeCase{"true position on its zone", K::TruePosition, TTolerance{0.0, 0.1, 0.0}, 0.1, V::Ok, 0.1},
        TJudgeCase{"true position beyond", K::TruePosition, TTolerance{0.0, 0.1, 0.0}, 0.101, V::Nok,
                   0.101}));

TEST(Judge, AMissingActualSaysSoWithoutADeviation)
{
    for (const std::optional<double> actual :
         {std::optional<double>{}, std::optional<double>{std::numeric_limits<double>::quiet_NaN()},
          std::optional<double>{std::numeric_limits<double>::infinity()}}) {
        const TJudgement judgement = Judge(K::Diameter, Bore, actual);
        EXPECT_EQ(judgement.verdict, V::Missing);
        EXPECT_FALSE(judgement.actual);
        EXPECT_FALSE(judgement.deviation);
    }
}

TEST(TruePosition, OfAHoleInAnAlignedPartIsTheDiameterOfItsDeviation)
{
    // The part lies turned by 30 degrees about Z and shifted; its drawing has the hole at X 25, Y 10.
    // Measured, the hole sits 0.03 right of and 0.04 below its place (in part coordinates), so it lies
    // on a circle of 0.05 radius about the nominal: a true position of 0.100.
    Eigen::Isometry3d partToMachine = Eigen::Isometry3d::Identity();
    partToMachine.rotate(Eigen::AngleAxisd(std::numbers::pi / 6.0, Eigen::Vector3d::UnitZ()));
    partToMachine.pretranslate(Eigen::Vector3d(112.5, -40.25, 7.0));
    const Eigen::Vector3d machine = partToMachine * Eigen::Vector3d(25.03, 9.96, -12.0);

    const Eigen::Vector3d part = partToMachine.inverse() * machine;
    const double diameter = TruePositionDiameter(part.head<2>(), Eigen::Vector2d(25.0, 10.0));
    EXPECT_NEAR(diameter, 0.1, 1e-9);
    EXPECT_EQ(Judge(K::TruePosition, {0.0, 0.1, 0.0}, diameter).verdict, V::Ok);
    EXPECT_EQ(Judge(K::TruePosition, {0.0, 0.099, 0.0}, diameter).verdict, V::Nok);
    // Read in machine coordinates instead, the same hole would be far off: the alignment matters.
    EXPECT_GT(TruePositionDiameter(machine.head<2>(), Eigen::Vector2d(25.0, 10.0)), 100.0);
}

TEST(FeatureActual, TakesOnlyWhatTheFeatureHas)
{
    TGeometryFeature circle;
    circle.type = TFeatureType::Circle;
    circle.location = {1.0, -2.0, 3.0};
    circle.diameter = 20.013;
    circle.points = 8;
    circle.form = 0.004;
    EXPECT_EQ(FeatureActual(K::Diameter, circle), 20.013);
    EXPECT_EQ(FeatureActual(K::PositionY, circle), -2.0);
    EXPECT_EQ(FeatureActual(K::Form, circle), 0.004);
    EXPECT_FALSE(FeatureActual(K::Distance, circle));

    TGeometryFeature plane;
    plane.type = TFeatureType::Plane;
    plane.points = 4;
    EXPECT_FALSE(FeatureActual(K::Diameter, plane));
    // A constructed feature (no points of its own) has no form.
    TGeometryFeature constructed = circle;
    constructed.points = 0;
    EXPECT_FALSE(FeatureActual(K::Form, constructed));
}

TEST(CharacteristicName, NamesAFormAfterItsFeatureAndReadsEveryNameBack)
{
    EXPECT_EQ(CharacteristicName(K::Form, TFeatureType::Plane), "Flatness");
    EXPECT_EQ(CharacteristicName(K::Form, TFeatureType::Circle), "Roundness");
    EXPECT_EQ(CharacteristicName(K::Form, TFeatureType::Line), "Straightness");
    EXPECT_EQ(CharacteristicName(K::Form, TFeatureType::Cylinder), "Cylindricity");
    for (K kind : {K::Diameter, K::PositionX, K::PositionY, K::PositionZ, K::Form, K::Distance, K::Angle,
                   K::TruePosition, K::Perpendicularity, K::Parallelism})
        EXPECT_EQ(CharacteristicKindFromName(CharacteristicName(kind, TFeatureType::Sphere)), kind);
    EXPECT_FALSE(CharacteristicKindFromName("diameter"));
}

} // namespace
