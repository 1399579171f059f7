#include "register/featuremeasurement.h"
#include "register/featureregister.h"
#include "register/pointnumbers.h"

#include <gtest/gtest.h>

namespace {

using TKind = TFeatureRegister::TKind;

struct TNumbersCase
{
    const char *text;
    QList<int> numbers;
    // A part of the reason given when the text is refused.
    const char *problem;
};

class PointNumbersTest : public ::testing::TestWithParam<TNumbersCase>
{
};

TEST_P(PointNumbersTest, ReadsListsAndRefusesBadText)
{
    const TNumbersCase &c = GetParam();
    QString problem;
    const auto numbers = TPointNumbers::Read(QString::fromUtf8(c.text), &problem);
    if (c.problem) {
        EXPECT_FALSE(numbers);
        EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << problem.toStdString();
    } else {
        ASSERT_TRUE(numbers) << problem.toStdString();
        EXPECT_EQ(*numbers, c.numbers);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PointNumbersTest,
    ::testing::Values(
        TNumbersCase{"1-4, 9", {1, 2, 3, 4, 9}, nullptr}, TNumbersCase{" 7 ,3;12 ", {7, 3, 12}, nullptr},
        TNumbersCase{"1 - 3 5", {1, 2, 3, 5}, nullptr}, TNumbersCase{"2-4, 3, 2", {2, 3, 4}, nullptr},
        TNumbersCase{"", {}, "No point numbers"}, TNumbersCase{"1-x", {}, "\"1-x\""},
        TNumbersCase{"0, 1", {}, "\"0\""}, TNumbersCase{"-3", {}, "\"-3\""},
        TNumbersCase{"1.5", {}, "\"1.5\""}, TNumbersCase{"9-4", {}, "runs downwards"},
        // A huge range is refused before it is counted out.
        TNumbersCase{"1-999999", {}, "More than 999"}, TNumbersCase{"1-600, 601-1200", {}, "More than 999"}));

TEST(PointNumbersTest, TextWritesRunsAsRanges)
{
    EXPECT_EQ(TPointNumbers::Text({1, 2, 3, 4, 9}), QStringLiteral("1-4, 9"));
    EXPECT_EQ(TPointNumbers::Text({3, 4, 8, 7, 6, 5}), QStringLiteral("3, 4, 8, 7, 6, 5"));
    EXPECT_EQ(TPointNumbers::Text({5, 6, 7, 1}), QStringLiteral("5-7, 1"));
    const QList<int> many{10, 11, 12, 13, 20, 21, 40};
    EXPECT_EQ(TPointNumbers::Read(TPointNumbers::Text(many)), many);
}

TEST(PointNumbersTest, FindsPointsByTheirNumberNotTheirRow)
{
    TTextTable points(4, 10);
    // Point 2 was deleted: point 3 now sits in row 2.
    points.SetRowTexts(1, {"1", "0.707", "-2.500", "10.000"});
    points.SetRowTexts(2, {"3", "abc", "0.000", "0.000"});
    points.SetRowTexts(3, {"4", "1.000", "2.000", "3.000"});
    const auto found = TPointNumbers::Find(points, {4, 1, 2, 3});
    ASSERT_EQ(found.points.size(), 2u);
    EXPECT_EQ(found.points[0], Eigen::Vector3d(1.0, 2.0, 3.0));
    // Read in double precision: no single-precision rounding on top of the text's decimals.
    EXPECT_EQ(found.points[1].x(), 0.707);
    EXPECT_EQ(found.missing, QList<int>{2});
    EXPECT_EQ(found.unreadable, QList<int>{3});
    EXPECT_EQ(found.Problem().toStdString(),
              "Point 2 is not in the point table. The coordinates of point 3 are not numbers.");
}

TGeometryFeature Circle(double x, double y, double z, double diameter)
{
    TGeometryFeature circle;
    circle.type = TFeatureType::Circle;
    circle.location = {x, y, z};
    circle.direction = {-0.0000001, 0.0, 1.0};
    circle.diameter = diameter;
    circle.form = 0.0123;
    circle.points = 8;
    return circle;
}

TEST(FeatureRegisterTest, RowTextsOfEachKind)
{
    TFeatureRegister features;
    features.SetHeaders();
    EXPECT_EQ(features.Table().RowTexts(0),
              QStringList({"Feature", "Type", "From", "X", "Y", "Z", "I", "J", "K", "Size", "Form", "Apex"}));
    EXPECT_EQ(features.AddFeature(Circle(10.0, -5.25, 0.0004, 20.0), {1, 2, 3, 4, 5, 6, 7, 8}), 1);
    EXPECT_EQ(features.Table().RowTexts(1),
              QStringList({"C1", "Circle", "1-8", "10.000", "-5.250", "0.000", "0.000000", "0.000000",
                           "1.000000", "20.000", "0.012", ""}));

    TGeometryFeature sphere;
    sphere.type = TFeatureType::Sphere;
    sphere.location = {1.0, 2.0, 3.0};
    sphere.diameter = 12.7;
    features.AddFeature(sphere, {9, 10, 11, 12});
    EXPECT_EQ(features.Table().RowTexts(2), QStringList({"SP1", "Sphere", "9-12", "1.000", "2.000", "3.000",
                                                         "", "", "", "12.700", "0.000", ""}));

    TGeometryFeature cone;
    cone.type = TFeatureType::Cone;
    cone.direction = {0.6, -0.8, 0.0};
    cone.diameter = 8.0;
    cone.apexAngle = 59.99951;
    features.AddFeature(cone, {1, 3, 5, 7, 9, 11});
    EXPECT_EQ(features.Table().RowTexts(3),
              QStringList({"CO1", "Cone", "1, 3, 5, 7, 9, 11", "0.000", "0.000", "0.000", "0.600000",
                           "-0.800000", "0.000000", "8.000", "0.000", "60.000"}));

    features.AddRelation(TKind::Distance, "C1", "SP1", {12.5, std::array{1.0, -2.0, 3.0}});
    features.AddRelation(TKind::Angle, "C1", "CO1", {90.0, std::nullopt});
    EXPECT_EQ(features.Table().RowTexts(4), QStringList({"D1", "Distance", "C1, SP1", "1.000", "-2.000",
                                                         "3.000", "", "", "", "12.500", "", ""}));
    EXPECT_EQ(features.Table().RowTexts(5),
              QStringList({"A1", "Angle", "C1, CO1", "", "", "", "", "", "", "90.000", "", ""}));
}

TEST(FeatureRegisterTest, NamesAreNumberedPerTypeAndNeverGivenTwice)
{
    TFeatureRegister features;
    features.SetHeaders();
    features.AddFeature(Circle(0, 0, 0, 1), {1, 2, 3});
    features.AddFeature(Circle(0, 0, 0, 2), {1, 2, 3});
    TGeometryFeature plane;
    plane.type = TFeatureType::Plane;
    plane.direction = {0, 0, 1};
    features.AddFeature(plane, {1, 2, 3});
    EXPECT_EQ(features.Name(3), QStringLiteral("PL1"));
    // Deleting the last circle does not give its name out again: a relation may still name it.
    features.DeleteRow(2);
    EXPECT_EQ(features.Name(2), QStringLiteral("PL1"));
    EXPECT_EQ(features.NextName(TFeatureType::Circle), QStringLiteral("C3"));
    EXPECT_EQ(features.AddFeature(Circle(0, 0, 0, 3), {1, 2, 3}), 3);
    EXPECT_EQ(features.Name(3), QStringLiteral("C3"));
    EXPECT_EQ(features.NextName(TFeatureType::Line), QStringLiteral("L1"));
    EXPECT_EQ(features.NextName(TKind::Angle), QStringLiteral("A1"));

    // Rows that came in as texts (a load) carry the numbering on from their names.
    features.Clear();
    EXPECT_EQ(features.NextName(TFeatureType::Circle), QStringLiteral("C1"));
    features.Table().SetRowTexts(1, {"CY7", "Cylinder", "1-5", "0.000", "0.000", "0.000", "0.000000",
                                     "0.000000", "1.000000", "6.000", "0.001", ""});
    features.TakeNamesFromTable();
    EXPECT_EQ(features.NextName(TFeatureType::Cylinder), QStringLiteral("CY8"));
    EXPECT_EQ(features.NextName(TFeatureType::Circle), QStringLiteral("C1"));
}

TEST(FeatureRegisterTest, FeaturesAndSourcesReadBackFromTheTexts)
{
    TFeatureRegister features;
    features.SetHeaders();
    TGeometryFeature cylinder;
    cylinder.type = TFeatureType::Cylinder;
    cylinder.location = {1.25, -2.5, 30.0};
    cylinder.direction = Eigen::Vector3d(1.0, 2.0, 2.0).normalized();
    cylinder.diameter = 16.002;
    cylinder.form = 0.004;
    features.AddFeature(cylinder, {3, 4, 5, 6, 7, 12});
    features.AddRelation(TKind::Angle, "CY1", "PL4", {45.0, std::nullopt});

    const auto read = features.Feature(1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->type, TFeatureType::Cylinder);
    EXPECT_NEAR((read->location - cylinder.location).norm(), 0.0, 1e-9);
    EXPECT_NEAR(read->direction.norm(), 1.0, 1e-12);
    EXPECT_NEAR(read->direction.dot(cylinder.direction), 1.0, 1e-11);
    EXPECT_DOUBLE_EQ(read->diameter, 16.002);
    EXPECT_EQ(read->points, 6);
    const auto source = features.Source(1);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->points, QList<int>({3, 4, 5, 6, 7, 12}));

    EXPECT_FALSE(features.Feature(2));
    const auto relation = features.Source(2);
    ASSERT_TRUE(relation);
    EXPECT_EQ(relation->kind, TKind::Angle);
    EXPECT_EQ(relation->first, QStringLiteral("CY1"));
    EXPECT_EQ(relation->second, QStringLiteral("PL4"));
    EXPECT_EQ(features.FindRow(QStringLiteral("CY1")), 1);
    EXPECT_EQ(features.FindRow(QStringLiteral("PL4")), 0);

    // A hand-edited row that does not read gives no feature rather than a wrong one.
    features.Table().SetCell(TFeatureRegister::ColI, 1, QStringLiteral("abc"));
    EXPECT_FALSE(features.Feature(1));
    EXPECT_FALSE(features.Feature(3));
}

TEST(FeatureRegisterTest, CosinesHaveSixDecimalsAndNoNegativeZero)
{
    EXPECT_EQ(TFeatureRegister::FormatCosine(-0.0000004), QStringLiteral("0.000000"));
    EXPECT_EQ(TFeatureRegister::FormatCosine(-0.7071068), QStringLiteral("-0.707107"));
    EXPECT_EQ(TFeatureRegister::FormatCosine(1.0), QStringLiteral("1.000000"));
}

// Stands in for the fits: records what it was given and answers as told.
struct TFitStandIn
{
    TGeometryOutcome answer = TGeometryOutcome::Refused("the points are collinear");
    TPointList given;

    TFeatureMeasurement::TFit Fit()
    {
        return [this](TFeatureType type, const TPointList &points) {
            given = points;
            TGeometryOutcome outcome = answer;
            outcome.feature.type = type;
            return outcome;
        };
    }
};

class FeatureMeasurementTest : public ::testing::Test
{
protected:
    FeatureMeasurementTest()
    {
        features.SetHeaders();
        for (int n = 1; n <= 9; ++n)
            points.SetRowTexts(n, {QString::number(n), QStringLiteral("%1.000").arg(n), "0.000", "0.000"});
    }

    TTextTable points{4, 1000};
    TFeatureRegister features;
    TFitStandIn fits;
    TFeatureMeasurement measurement{features, points, fits.Fit()};
};

TEST_F(FeatureMeasurementTest, RecordedPointsJoinTheFeatureUntilEnd)
{
    measurement.PointRecorded(1);
    EXPECT_TRUE(measurement.Points().isEmpty());
    EXPECT_EQ(measurement.ProgressText(), QStringLiteral("Choose a feature type to measure"));

    measurement.SetType(TFeatureType::Circle);
    measurement.PointRecorded(4);
    EXPECT_EQ(measurement.ProgressText(), QStringLiteral("Circle: 1 point (needs 3)"));
    measurement.PointRecorded(5);
    const auto early = measurement.End();
    EXPECT_FALSE(early.Added());
    EXPECT_EQ(early.message, QStringLiteral("A circle needs at least 3 points; it has 2."));
    measurement.PointRecorded(6);
    EXPECT_EQ(measurement.ProgressText(), QStringLiteral("Circle: 3 points (needs 3)"));

    // A refused fit is told and keeps the points, so more can be recorded.
    const auto refused = measurement.End();
    EXPECT_FALSE(refused.Added());
    EXPECT_EQ(refused.message, QStringLiteral("The circle cannot be fitted: the points are collinear."));
    EXPECT_EQ(measurement.Points().size(), 3);
    EXPECT_EQ(fits.given, TPointList({{4, 0, 0}, {5, 0, 0}, {6, 0, 0}}));

    fits.answer = TGeometryOutcome::Made({});
    const auto made = measurement.End();
    EXPECT_EQ(made.row, 1);
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColFrom, 1), QStringLiteral("4-6"));
    EXPECT_EQ(features.Name(1), QStringLiteral("C1"));
    EXPECT_EQ(measurement.ProgressText(), QStringLiteral("Circle: 0 points (needs 3)"));

    // A new type keeps what was collected; no type abandons it.
    measurement.PointRecorded(7);
    measurement.SetType(TFeatureType::Line);
    EXPECT_EQ(measurement.Points(), QList<int>{7});
    measurement.SetType(std::nullopt);
    EXPECT_TRUE(measurement.Points().isEmpty());
}

TEST_F(FeatureMeasurementTest, TypedNumbersAddNothingWhenTheyDoNotAllRead)
{
    fits.answer = TGeometryOutcome::Made({});
    EXPECT_EQ(measurement.FitTyped(QStringLiteral("1-4")).message,
              QStringLiteral("Choose a feature type first, then fit it to the points."));
    measurement.SetType(TFeatureType::Plane);
    EXPECT_TRUE(measurement.FitTyped(QStringLiteral("1-x")).message.contains(QStringLiteral("\"1-x\"")));
    EXPECT_EQ(measurement.FitTyped(QStringLiteral("1-2, 40, 41")).message,
              QStringLiteral("Points 40, 41 are not in the point table. Nothing was added."));
    points.SetCell(2, 3, QStringLiteral("bad"));
    EXPECT_EQ(measurement.FitTyped(QStringLiteral("1-3")).message,
              QStringLiteral("The coordinates of point 3 are not numbers. Nothing was added."));
    EXPECT_TRUE(features.Table().IsRowFree(1));

    const auto made = measurement.FitTyped(QStringLiteral("7, 1-2"));
    EXPECT_EQ(made.row, 1);
    EXPECT_EQ(fits.given, TPointList({{7, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(features.Name(1), QStringLiteral("PL1"));
}

} // namespace
