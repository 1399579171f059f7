#include "register/featureconstructor.h"
#include "register/featureregister.h"

#include <gtest/gtest.h>

namespace {

using TKind = TFeatureConstructor::TKind;

TGeometryFeature Made(TFeatureType type, Eigen::Vector3d location, Eigen::Vector3d direction = {0, 0, 0},
                      double diameter = 0.0)
{
    TGeometryFeature feature;
    feature.type = type;
    feature.location = location;
    feature.direction = direction;
    feature.diameter = diameter;
    return feature;
}

// Features whose constructions are worked out by hand:
//   L1 the X axis; L2 along Y through (5, -3, 2), passing 2 mm above L1 at x = 5;
//   PL1 the plane z = 10; PL2 the plane x = 4; CY1 an axis through (2, 3, 0) rising along (0, 0.6, 0.8);
//   C1, C2, C3 holes at (10, 0, 3), (0, 10, 3), (-10, 0, 3); SP1 a ball at (3, 4, 5); L3 parallel to L1.
class FeatureConstructorTest : public ::testing::Test
{
protected:
    FeatureConstructorTest()
    {
        features.AddFeature(Made(TFeatureType::Line, {0, 0, 0}, {1, 0, 0}), {1, 2});
        features.AddFeature(Made(TFeatureType::Line, {5, -3, 2}, {0, 1, 0}), {3, 4});
        features.AddFeature(Made(TFeatureType::Plane, {1, 2, 10}, {0, 0, 1}), {5, 6, 7});
        features.AddFeature(Made(TFeatureType::Plane, {4, 7, 7}, {1, 0, 0}), {8, 9, 10});
        features.AddFeature(Made(TFeatureType::Cylinder, {2, 3, 0}, {0, 0.6, 0.8}, 8.0),
                            {11, 12, 13, 14, 15});
        features.AddFeature(Made(TFeatureType::Circle, {10, 0, 3}, {0, 0, 1}, 6.0), {16, 17, 18});
        features.AddFeature(Made(TFeatureType::Circle, {0, 10, 3}, {0, 0, 1}, 6.0), {19, 20, 21});
        features.AddFeature(Made(TFeatureType::Circle, {-10, 0, 3}, {0, 0, 1}, 6.0), {22, 23, 24});
        features.AddFeature(Made(TFeatureType::Sphere, {3, 4, 5}, {0, 0, 0}, 10.0), {25, 26, 27, 28});
        features.AddFeature(Made(TFeatureType::Line, {0, 5, 0}, {1, 0, 0}), {29, 30});
        features.AddRelation(TFeatureRegister::TKind::Distance, "C1", "C3", {20.0, std::nullopt});
    }

    QList<int> Rows(const QStringList &names) const
    {
        QList<int> rows;
        for (const QString &name : names)
            rows.append(features.FindRow(name));
        return rows;
    }

    TFeatureRegister features;
    TFeatureConstructor constructor{features};
};

struct TConstructionCase
{
    const char *label;
    std::optional<TKind> kind;
    QStringList selected;
    bool inXYPlane;
    // Feature, Type, From, X, Y, Z, I, J, K, Size of the row added.
    QStringList row;
    // In the message told with the row.
    QString told;
};

class ConstructionValues : public FeatureConstructorTest,
                           public ::testing::WithParamInterface<TConstructionCase>
{
};

TEST_P(ConstructionValues, AddsTheHandComputedRow)
{
    const TConstructionCase &c = GetParam();
    if (c.inXYPlane)
        constructor.SetPlane([] { return Made(TFeatureType::Plane, {0, 0, 0}, {0, 0, 1}); });
    const int before = features.FeatureCount();
    const TFeatureConstructor::TConstructed made = constructor.Construct(c.kind, Rows(c.selected));
    ASSERT_TRUE(made.Added()) << made.message.toStdString();
    EXPECT_EQ(made.row, before + 1);
    EXPECT_EQ(features.Table().RowTexts(made.row).mid(0, 10), c.row);
    if (c.told.isEmpty())
        EXPECT_TRUE(made.message.isEmpty()) << made.message.toStdString();
    else
        EXPECT_TRUE(made.message.contains(c.told)) << made.message.toStdString();

    // The row reads back as a feature made by its recipe, and works out to the same texts again.
    const auto source = features.Source(made.row);
    ASSERT_TRUE(source && source->recipe);
    EXPECT_TRUE(source->points.isEmpty());
    EXPECT_EQ(source->recipe->Text(), c.row[TFeatureRegister::ColFrom]);
    ASSERT_TRUE(features.Feature(made.row).has_value());
    const QStringList texts = features.Table().RowTexts(made.row);
    EXPECT_TRUE(constructor.Recompute(made.row));
    EXPECT_EQ(features.Table().RowTexts(made.row), texts);
}

INSTANTIATE_TEST_SUITE_P(
    EachConstruction, ConstructionValues,
    ::testing::Values(
        // The closest points are (5, 0, 0) on L1 and (5, 0, 2) on L2.
        TConstructionCase{"SkewLinesMeetHalfWay",
                          std::nullopt,
                          {"L1", "L2"},
                          false,
                          {"P1", "Point", "Intersection L1, L2", "5.000", "0.000", "1.000", "", "", "", ""},
                          "pass 2.000 mm apart"},
        TConstructionCase{"LinesCrossInThePrimaryPlane",
                          TKind::Intersection,
                          {"L1", "L2"},
                          true,
                          {"P1", "Point", "Intersection L1, L2", "5.000", "0.000", "0.000", "", "", "", ""},
                          "2.000 mm apart"},
        // 0.8 t = 10 along the axis: t = 12.5, y = 3 + 0.6 t. The plane comes first in the table.
        TConstructionCase{"AxisPiercesThePlaneWhicheverComesFirst",
                          std::nullopt,
                          {"PL1", "CY1"},
                          false,
                          {"P1", "Point", "Pierce CY1, PL1", "2.000", "10.500", "10.000", "", "", "", ""},
                          {}},
        // x = 4, z = 10, along Y; nearest the locations' midpoint (2.5, 4.5, 8.5).
        TConstructionCase{"PlanesMeetInALine",
                          std::nullopt,
                          {"PL1", "PL2"},
                          false,
                          {"L4", "Line", "Meet PL1, PL2", "4.000", "4.500", "10.000", "0.000000", "1.000000",
                           "0.000000", ""},
                          {}},
        TConstructionCase{"MidpointOfTwoCentres",
                          std::nullopt,
                          {"C1", "C3"},
                          false,
                          {"P1", "Point", "Midpoint C1, C3", "0.000", "0.000", "3.000", "", "", "", ""},
                          {}},
        TConstructionCase{"BallCentreProjectedOntoThePlane",
                          std::nullopt,
                          {"PL1", "SP1"},
                          false,
                          {"P1", "Point", "Projection SP1, PL1", "3.000", "4.000", "10.000", "", "", "", ""},
                          {}},
        // (3, -6, 2) / 7 from C2 to SP1, turned so that its largest component is positive.
        TConstructionCase{"LineThroughTwoCentres",
                          TKind::Line,
                          {"C2", "SP1"},
                          false,
                          {"L4", "Line", "Line C2, SP1", "1.500", "7.000", "4.000", "-0.428571", "0.857143",
                           "-0.285714", ""},
                          {}},
        TConstructionCase{"BoltCircleThroughThreeHoles",
                          std::nullopt,
                          {"C1", "C2", "C3"},
                          false,
                          {"C4", "Circle", "Bolt circle C1, C2, C3", "0.000", "0.000", "3.000", "0.000000",
                           "0.000000", "1.000000", "20.000"},
                          {}}),
    [](const ::testing::TestParamInfo<TConstructionCase> &info) { return std::string(info.param.label); });

struct TRefusalCase
{
    const char *label;
    std::optional<TKind> kind;
    QStringList selected;
    QString told;
};

class ConstructionRefusals : public FeatureConstructorTest, public ::testing::WithParamInterface<TRefusalCase>
{
};

TEST_P(ConstructionRefusals, AddNothingAndSayWhy)
{
    const TRefusalCase &c = GetParam();
    const int before = features.FeatureCount();
    const TFeatureConstructor::TConstructed made = constructor.Construct(c.kind, Rows(c.selected));
    EXPECT_FALSE(made.Added());
    EXPECT_TRUE(made.message.contains(c.told)) << made.message.toStdString();
    EXPECT_EQ(features.FeatureCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    WrongSelections, ConstructionRefusals,
    ::testing::Values(
        TRefusalCase{"NothingSelected", std::nullopt, {}, "Select two features"},
        TRefusalCase{"OneRow", TKind::Midpoint, {"C1"}, "takes two features; 1 selected"},
        TRefusalCase{"ThreeForAMidpoint", TKind::Midpoint, {"C1", "C2", "C3"}, "3 selected"},
        TRefusalCase{"TwoForABoltCircle", TKind::BoltCircle, {"C1", "C2"}, "three or more"},
        TRefusalCase{"ALineAndACircle", std::nullopt, {"L1", "C1"}, "from a line and a circle"},
        TRefusalCase{"APlaneInABoltCircle", std::nullopt, {"C1", "PL1", "C2"}, "PL1 is a plane"},
        TRefusalCase{"ARelation", std::nullopt, {"C1", "D1"}, "D1 is a distance, not a feature"},
        TRefusalCase{"ParallelLines", std::nullopt, {"L1", "L3"}, "parallel"},
        TRefusalCase{"PlanesAskedToPierce", TKind::Pierce, {"PL1", "PL2"}, "Nothing was added"},
        TRefusalCase{"AMidpointOfALine", TKind::Midpoint, {"L1", "C1"}, "not a line"}),
    [](const ::testing::TestParamInfo<TRefusalCase> &info) { return std::string(info.param.label); });

TEST_F(FeatureConstructorTest, AConstructionFollowsItsFeaturesAndServesAsAFeature)
{
    const int mid = constructor.Construct(std::nullopt, Rows({"C1", "C3"})).row;
    ASSERT_GT(mid, 0);
    // The constructed point takes part in relations and constructions like a measured one.
    const auto distance = features.Relate(TFeatureRegister::TKind::Distance, features.FindRow("SP1"), mid);
    ASSERT_GT(distance.row, 0) << distance.message.toStdString();
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColFrom, distance.row), QStringLiteral("SP1, P1"));
    const int onPlane = constructor.Construct(std::nullopt, {features.FindRow("PL1"), mid}).row;
    ASSERT_GT(onPlane, 0);
    EXPECT_EQ(features.Table().RowTexts(onPlane).mid(0, 6),
              (QStringList{"P2", "Point", "Projection P1, PL1", "0.000", "0.000", "10.000"}));

    // C3 measured again 4 mm further along X: the midpoint moves 2 mm.
    const int c3 = features.FindRow("C3");
    features.Table().SetCell(TFeatureRegister::ColX, c3, QStringLiteral("-6.000"));
    ASSERT_TRUE(constructor.Recompute(mid));
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColX, mid), QStringLiteral("2.000"));
    EXPECT_EQ(features.Name(mid), QStringLiteral("P1"));

    // With an input gone the row keeps its last values.
    features.DeleteRow(c3);
    const int moved = features.FindRow("P1");
    const QStringList kept = features.Table().RowTexts(moved);
    EXPECT_FALSE(constructor.Recompute(moved));
    EXPECT_EQ(features.Table().RowTexts(moved), kept);
    EXPECT_FALSE(constructor.Recompute(features.FindRow("C1"))) << "a fitted feature is no construction";
}

TEST_F(FeatureConstructorTest, LinesCrossInThePrimaryPlaneOfTheActiveAlignment)
{
    // Z from PL1, X from L1, the origin at C1 (10, 0, 3): the primary plane is z = 3.
    const auto aligned =
        features.Alignments().Align({Rows({"PL1"})[0], Rows({"L1"})[0], 0, Rows({"C1"})[0], false});
    ASSERT_GT(aligned.row, 0) << aligned.message.toStdString();
    const TFeatureConstructor::TConstructed made = constructor.Construct(std::nullopt, Rows({"L1", "L2"}));
    ASSERT_TRUE(made.Added()) << made.message.toStdString();
    EXPECT_EQ(features.Table().RowTexts(made.row).mid(2, 4),
              (QStringList{"Intersection L1, L2", "5.000", "0.000", "3.000"}));
    EXPECT_TRUE(made.message.contains(QStringLiteral("primary plane"))) << made.message.toStdString();
}

struct TRecipeCase
{
    const char *from;
    bool reads;
    int inputs;
};

class RecipeTexts : public ::testing::TestWithParam<TRecipeCase>
{
};

TEST_P(RecipeTexts, ReadOnlyWhatAConstructionWrites)
{
    const auto recipe = TConstructionRecipe::Read(QString::fromLatin1(GetParam().from));
    ASSERT_EQ(recipe.has_value(), GetParam().reads);
    if (recipe) {
        EXPECT_EQ(recipe->inputs.size(), GetParam().inputs);
        EXPECT_EQ(TConstructionRecipe::Read(recipe->Text())->Text(), recipe->Text());
    }
}

INSTANTIATE_TEST_SUITE_P(
    FromTexts, RecipeTexts,
    ::testing::Values(TRecipeCase{"Intersection L1, L2", true, 2},
                      TRecipeCase{"Bolt circle C1, C2, C3, C4", true, 4}, TRecipeCase{"Line C1,C2", true, 2},
                      TRecipeCase{"1-8", false, 0}, TRecipeCase{"C1, PL1", false, 0},
                      TRecipeCase{"Lines C1, C2", false, 0}, TRecipeCase{"Bolt circle C1, C2", false, 0},
                      TRecipeCase{"Midpoint C1", false, 0}, TRecipeCase{"Midpoint C1, , C2", false, 0},
                      TRecipeCase{"Pierce 1, 2", false, 0}, TRecipeCase{"Meet PL1, PL2, PL3", false, 0}));

} // namespace
