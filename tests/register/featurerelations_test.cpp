#include "register/featureregister.h"

#include <gtest/gtest.h>

namespace {

using TKind = TFeatureRegister::TKind;

// A feature row as the table holds it: name, type, location, direction, size.
QStringList Row(const char *name, const char *type, const char *x, const char *y, const char *z,
                const char *i = "", const char *j = "", const char *k = "", const char *size = "")
{
    return {name, type, "1-8", x, y, z, i, j, k, size, "0.001", ""};
}

const QStringList kHole =
    Row("C1", "Circle", "10.000", "-5.000", "0.000", "0.000000", "0.000000", "1.000000", "20.000");
const QStringList kBall = Row("SP1", "Sphere", "13.000", "-1.000", "12.000", "", "", "", "8.000");
const QStringList kBallOnAxis = Row("SP2", "Sphere", "0.000", "3.000", "4.000", "", "", "", "8.000");
const QStringList kTop = Row("PL1", "Plane", "40.000", "40.000", "7.000", "0.000000", "0.000000", "1.000000");
const QStringList kBottom =
    Row("PL2", "Plane", "0.000", "0.000", "4.500", "0.000000", "0.000000", "1.000000");
const QStringList kBevel = Row("PL3", "Plane", "0.000", "0.000", "0.000", "0.000000", "0.707107", "0.707107");
const QStringList kEdgeX = Row("L1", "Line", "0.000", "0.000", "0.000", "1.000000", "0.000000", "0.000000");
const QStringList kEdgeY = Row("L2", "Line", "0.000", "0.000", "6.000", "0.000000", "1.000000", "0.000000");
const QStringList kRising = Row("L3", "Line", "0.000", "0.000", "0.000", "0.600000", "0.000000", "0.800000");
const QStringList kBoreA =
    Row("CY1", "Cylinder", "0.000", "0.000", "0.000", "1.000000", "0.000000", "0.000000", "8.000");
const QStringList kBoreB =
    Row("CY2", "Cylinder", "0.000", "0.000", "0.000", "0.500000", "0.866025", "0.000000", "8.000");
const QStringList kDistanceRow{"D1", "Distance", "C1, SP1", "", "", "", "", "", "", "13.000", "", ""};

struct TRelationCase
{
    const char *what;
    TKind kind;
    QStringList first;
    QStringList second;
    // The row's Size and its X, Y, Z; or, when refused, a part of the message.
    QString size;
    QStringList components;
    QString refusal;
};

class FeatureRelationTest : public ::testing::TestWithParam<TRelationCase>
{
};

TEST_P(FeatureRelationTest, AddsTheRelationRowOrSaysWhyNot)
{
    const TRelationCase &c = GetParam();
    TFeatureRegister features;
    features.SetHeaders();
    features.Table().SetRowTexts(1, c.first);
    features.Table().SetRowTexts(2, c.second);
    const auto related = features.Relate(c.kind, 1, 2);
    if (!c.refusal.isEmpty()) {
        EXPECT_EQ(related.row, 0);
        EXPECT_TRUE(related.message.contains(c.refusal)) << related.message.toStdString();
        EXPECT_TRUE(features.Table().IsRowFree(3));
        return;
    }
    ASSERT_EQ(related.row, 3) << related.message.toStdString();
    const QStringList row = features.Table().RowTexts(3);
    EXPECT_EQ(row[TFeatureRegister::ColFeature], c.kind == TKind::Angle ? "A1" : "D1");
    EXPECT_EQ(row[TFeatureRegister::ColFrom], c.first[0] + ", " + c.second[0]);
    EXPECT_EQ(row[TFeatureRegister::ColSize], c.size);
    EXPECT_EQ(row.mid(TFeatureRegister::ColX, 3),
              c.components.isEmpty() ? QStringList({"", "", ""}) : c.components);
}

// Values worked out by hand from the rows above.
INSTANTIATE_TEST_SUITE_P(
    Pairs, FeatureRelationTest,
    ::testing::Values(
        // (3, 4, 12) apart: 13.
        TRelationCase{
            "CentreToCentre", TKind::Distance, kHole, kBall, "13.000", {"3.000", "4.000", "12.000"}, {}},
        // The hole's centre lies 7 below the top face, on the side its normal points away from.
        TRelationCase{"CentreToPlane", TKind::Distance, kHole, kTop, "-7.000", {}, {}},
        TRelationCase{"CentreToLine", TKind::Distance, kBallOnAxis, kEdgeX, "5.000", {}, {}},
        TRelationCase{"SkewLines", TKind::Distance, kEdgeX, kEdgeY, "6.000", {}, {}},
        TRelationCase{"ParallelPlanes", TKind::Distance, kBottom, kTop, "2.500", {}, {}},
        TRelationCase{"BetweenPlanes", TKind::Angle, kTop, kBevel, "45.000", {}, {}},
        // asin(0.8) = 53.130 degrees between the rising line and the top face.
        TRelationCase{"LineToPlane", TKind::Angle, kRising, kTop, "53.130", {}, {}},
        TRelationCase{"BetweenAxes", TKind::Angle, kBoreA, kBoreB, "60.000", {}, {}},
        TRelationCase{
            "SpheresHaveNoAngle", TKind::Angle, kBall, kBallOnAxis, {}, {}, "No angle between SP1 and SP2"},
        TRelationCase{"RelationsAreNoFeatures",
                      TKind::Distance,
                      kHole,
                      kDistanceRow,
                      {},
                      {},
                      "D1 is a distance, not a feature"}),
    [](const ::testing::TestParamInfo<TRelationCase> &info) { return std::string(info.param.what); });

TEST(FeatureRelationTest, RelationsAreNumberedApartFromTheFeatures)
{
    TFeatureRegister features;
    features.SetHeaders();
    features.Table().SetRowTexts(1, kTop);
    features.Table().SetRowTexts(2, kBevel);
    EXPECT_EQ(features.Relate(TKind::Angle, 1, 2).row, 3);
    EXPECT_EQ(features.Relate(TKind::Angle, 2, 1).row, 4);
    EXPECT_EQ(features.Name(4), QStringLiteral("A2"));
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColFrom, 4), QStringLiteral("PL3, PL1"));
    EXPECT_EQ(features.NextName(TKind::Distance), QStringLiteral("D1"));
    EXPECT_EQ(features.NextName(TFeatureType::Plane), QStringLiteral("PL4"));
}

} // namespace
