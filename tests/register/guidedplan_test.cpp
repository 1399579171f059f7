#include "register/featureconstructor.h"
#include "register/guidedplan.h"

#include <gtest/gtest.h>

namespace {

// Stands in for the least-squares fits: a circle about the points' centroid with their mean distance
// from it as radius, a plane through the centroid square to Z; anything else refused.
TGeometryOutcome FakeFit(TFeatureType type, const TPointList &points)
{
    Eigen::Vector3d centroid = Eigen::Vector3d::Zero();
    for (const Eigen::Vector3d &point : points)
        centroid += point;
    centroid /= static_cast<double>(points.size());
    TGeometryFeature feature;
    feature.type = type;
    feature.location = centroid;
    feature.direction = Eigen::Vector3d::UnitZ();
    feature.points = static_cast<int>(points.size());
    if (type == TFeatureType::Circle) {
        double radius = 0.0;
        for (const Eigen::Vector3d &point : points)
            radius += (point - centroid).norm();
        feature.diameter = 2.0 * radius / static_cast<double>(points.size());
        return TGeometryOutcome::Made(feature);
    }
    if (type == TFeatureType::Plane)
        return TGeometryOutcome::Made(feature);
    return TGeometryOutcome::Refused("no such fit here");
}

// The first part's plan: a bore C1 on four points, the face PL1 on three, the distance D1 between them.
class GuidedPlanTest : public ::testing::Test
{
protected:
    GuidedPlanTest()
    {
        TGeometryFeature circle;
        circle.type = TFeatureType::Circle;
        circle.location = {10, 10, 0};
        circle.direction = Eigen::Vector3d::UnitZ();
        circle.diameter = 20.0;
        features.AddFeature(circle, {1, 2, 3, 4});
        TGeometryFeature plane;
        plane.type = TFeatureType::Plane;
        plane.location = {0, 0, -5};
        plane.direction = Eigen::Vector3d::UnitZ();
        features.AddFeature(plane, {5, 6, 7});
        features.AddRelation(TFeatureRegister::TKind::Distance, "C1", "PL1", {5.0, std::nullopt});
    }

    // Records a point of the next part and tells the plan.
    TGuidedPlan::TOutcome Record(double x, double y, double z)
    {
        ++recorded;
        points.SetRowTexts(recorded, {QString::number(recorded), QString::number(x, 'f', 3),
                                      QString::number(y, 'f', 3), QString::number(z, 'f', 3)});
        return plan.PointRecorded(recorded);
    }

    TTextTable points{4, 1000};
    TFeatureRegister features;
    TGuidedPlan plan{features, points, FakeFit};
    int recorded = 0;
};

TEST_F(GuidedPlanTest, GuidesFeatureByFeatureAndWorksTheRelationOutAnew)
{
    ASSERT_TRUE(plan.Start());
    ASSERT_EQ(plan.Steps().size(), 2) << "the distance is worked out, not measured";
    EXPECT_EQ(plan.GuideText(), QStringLiteral("C1 Circle: point 1 of 4"));
    EXPECT_FALSE(plan.IsFresh("C1"));

    // The second part's bore lies at (30, 20), 21 mm across, and its face at Z = -4.
    for (const auto &[x, y] : {std::pair{40.5, 20.0}, {30.0, 30.5}, {19.5, 20.0}}) {
        EXPECT_FALSE(Record(x, y, 0.0).fitted);
    }
    EXPECT_EQ(plan.GuideText(), QStringLiteral("C1 Circle: point 4 of 4"));
    EXPECT_TRUE(Record(30.0, 9.5, 0.0).fitted);
    const QStringList c1 = features.Table().RowTexts(1);
    EXPECT_EQ(c1.mid(0, 6), (QStringList{"C1", "Circle", "1-4", "30.000", "20.000", "0.000"}));
    EXPECT_EQ(c1.at(TFeatureRegister::ColSize), QStringLiteral("21.000"));
    EXPECT_TRUE(plan.IsFresh("C1"));
    EXPECT_FALSE(plan.IsFresh("D1")) << "its face is not measured yet";
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColSize, 3), QStringLiteral("5.000"));

    EXPECT_EQ(plan.GuideText(), QStringLiteral("PL1 Plane: point 1 of 3"));
    Record(0, 0, -4);
    Record(50, 0, -4);
    EXPECT_TRUE(Record(0, 40, -4).fitted);
    EXPECT_TRUE(plan.Done());
    EXPECT_EQ(plan.GuideText(), QStringLiteral("Plan done: 2 of 2 features measured"));
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColFrom, 2), QStringLiteral("5-7"));
    EXPECT_TRUE(plan.IsFresh("D1"));
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColSize, 3), QStringLiteral("4.000"));
    // Points recorded after the plan is done join nothing.
    EXPECT_FALSE(Record(1, 1, 1).fitted);
}

TEST_F(GuidedPlanTest, ConstructionsAndWhatTakesThemFollowOnceTheirFeaturesAreMeasured)
{
    // P1, the bore's centre on the face, and D2 from the bore to it.
    TFeatureConstructor constructor(features);
    ASSERT_EQ(constructor.Construct(std::nullopt, {1, 2}).row, 4);
    ASSERT_EQ(features.Relate(TFeatureRegister::TKind::Distance, 1, 4).row, 5);
    ASSERT_EQ(features.Table().Cell(TFeatureRegister::ColFrom, 4), QStringLiteral("Projection C1, PL1"));
    ASSERT_TRUE(plan.Start());
    EXPECT_EQ(plan.Steps().size(), 2) << "a construction is worked out, not measured";

    for (const auto &[x, y] : {std::pair{40.5, 20.0}, {30.0, 30.5}, {19.5, 20.0}, {30.0, 9.5}})
        Record(x, y, 0.0);
    EXPECT_FALSE(plan.IsFresh("P1")) << "its face is not measured yet";
    EXPECT_EQ(features.Table().RowTexts(4).mid(3, 3), (QStringList{"10.000", "10.000", "-5.000"}));

    Record(0, 0, -4);
    Record(50, 0, -4);
    ASSERT_TRUE(Record(0, 40, -4).fitted);
    EXPECT_TRUE(plan.IsFresh("P1"));
    EXPECT_EQ(features.Table().RowTexts(4).mid(0, 6),
              (QStringList{"P1", "Point", "Projection C1, PL1", "30.000", "20.000", "-4.000"}));
    EXPECT_TRUE(plan.IsFresh("D2")) << "a relation on a construction follows it in the same pass";
    EXPECT_EQ(features.Table().Cell(TFeatureRegister::ColSize, 5), QStringLiteral("4.000"));
}

TEST_F(GuidedPlanTest, RedoSkipAndARefusedFitActOnTheFeatureInHand)
{
    ASSERT_TRUE(plan.Start());
    Record(1, 0, 0);
    Record(0, 1, 0);
    plan.Redo();
    EXPECT_EQ(plan.GuideText(), QStringLiteral("C1 Circle: point 1 of 4"));
    plan.Skip();
    EXPECT_EQ(plan.CurrentName(), QStringLiteral("PL1"));
    EXPECT_FALSE(plan.IsFresh("C1"));

    // A fit that cannot be made starts the feature's points again.
    TGuidedPlan refusing(features, points, [](TFeatureType, const TPointList &) {
        return TGeometryOutcome::Refused("the points are collinear");
    });
    ASSERT_TRUE(refusing.Start());
    refusing.Skip();
    for (int i = 0; i < 2; ++i)
        refusing.PointRecorded(i + 1);
    points.SetRowTexts(1, {"1", "0.000", "0.000", "0.000"});
    points.SetRowTexts(2, {"2", "1.000", "0.000", "0.000"});
    points.SetRowTexts(3, {"3", "2.000", "0.000", "0.000"});
    const TGuidedPlan::TOutcome outcome = refusing.PointRecorded(3);
    EXPECT_FALSE(outcome.fitted);
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("collinear")));
    EXPECT_EQ(refusing.GuideText(), QStringLiteral("PL1 Plane: point 1 of 3"));

    plan.Skip();
    EXPECT_EQ(plan.GuideText(), QStringLiteral("Plan done: 0 of 2 features measured, 2 skipped"));
    plan.Stop();
    EXPECT_TRUE(plan.IsFresh("C1")) << "without a plan every row is the part's own";

    TFeatureRegister empty;
    TGuidedPlan none(empty, points, FakeFit);
    QString problem;
    EXPECT_FALSE(none.Start(&problem));
    EXPECT_FALSE(problem.isEmpty());
}

} // namespace
