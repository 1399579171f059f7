#include "register/featuremeasurement.h"
#include "register/featureregister.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

// Four ball centres of a 20 mm bore probed with a 2 mm ball (they lie on 18 mm), each approached from
// the bore's centre. The fit stands in for the least-squares circle of those centres.
class FeatureCompensation : public ::testing::Test
{
protected:
    FeatureCompensation()
    {
        features.SetHeaders();
        const QStringList x{"9.000", "0.000", "-9.000", "0.000"};
        const QStringList y{"0.000", "9.000", "0.000", "-9.000"};
        for (int n = 1; n <= 4; ++n) {
            points.SetRowTexts(n, {QString::number(n), x[n - 1], y[n - 1], "0.000"});
            approaches.insert(n, Eigen::Vector3d(x[n - 1].toDouble(), y[n - 1].toDouble(), 0).normalized());
        }
        measurement.SetProbe(2.0, [this](int n) -> std::optional<Eigen::Vector3d> {
            if (!approaches.contains(n))
                return std::nullopt;
            return approaches.value(n);
        });
    }

    static TGeometryOutcome Circle18(TFeatureType type, const TPointList &)
    {
        TGeometryFeature f;
        f.type = type;
        f.direction = {0, 0, 1};
        f.diameter = 18.0;
        f.points = 4;
        return TGeometryOutcome::Made(f);
    }

    QString Size(int row) const { return features.Table().Cell(TFeatureRegister::ColSize, row); }

    TTextTable points{4, 1000};
    TFeatureRegister features;
    QHash<int, Eigen::Vector3d> approaches;
    TFeatureMeasurement measurement{features, points, &Circle18};
};

TEST_F(FeatureCompensation, BoreGrowsByTheBallAndAnOddApproachLeavesItAsFitted)
{
    const auto bore = measurement.Fit(TFeatureType::Circle, {1, 2, 3, 4});
    ASSERT_TRUE(bore.Added()) << bore.message.toStdString();
    EXPECT_EQ(Size(bore.row), QStringLiteral("20.000"));
    EXPECT_TRUE(bore.message.isEmpty());

    approaches[3] = -approaches[3];
    const auto odd = measurement.Fit(TFeatureType::Circle, {1, 2, 3, 4});
    ASSERT_TRUE(odd.Added());
    EXPECT_EQ(Size(odd.row), QStringLiteral("18.000"));
    EXPECT_TRUE(odd.message.contains(QStringLiteral("not compensated"))) << odd.message.toStdString();

    // With no ball the points are surface points.
    measurement.SetProbe(0.0, {});
    EXPECT_EQ(Size(measurement.Fit(TFeatureType::Circle, {1, 2, 3, 4}).row), QStringLiteral("18.000"));
}

TEST_F(FeatureCompensation, OperatorsSideFitsTheRowAgainInItsPlace)
{
    const int row = measurement.Fit(TFeatureType::Circle, {1, 2, 3, 4}).row;
    measurement.Fit(TFeatureType::Circle, {1, 2, 3});
    const QString name = features.Name(row);

    EXPECT_TRUE(measurement.Refit(row, TProbeSide::Outside).Added());
    EXPECT_EQ(Size(row), QStringLiteral("16.000"));
    EXPECT_EQ(features.Name(row), name);
    EXPECT_EQ(features.FeatureCount(), 2);
    measurement.Refit(row, TProbeSide::None);
    EXPECT_EQ(Size(row), QStringLiteral("18.000"));
    measurement.Refit(row, TProbeSide::Auto);
    EXPECT_EQ(Size(row), QStringLiteral("20.000"));
}

} // namespace
