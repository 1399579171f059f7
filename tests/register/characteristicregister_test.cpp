#include "register/characteristicregister.h"

#include <gtest/gtest.h>

namespace {

using K = TCharacteristicKind;
using TDefinition = TCharacteristicRegister::TDefinition;
using C = TCharacteristicRegister;

TGeometryFeature Feature(TFeatureType type, Eigen::Vector3d location, Eigen::Vector3d direction,
                         double diameter, double form)
{
    TGeometryFeature feature;
    feature.type = type;
    feature.location = location;
    feature.direction = direction.normalized();
    feature.diameter = diameter;
    feature.form = form;
    return feature;
}

// A bracket as the features table holds it: a bore C1, the top face PL1 on points 1-4, a pin CY1 on
// points 5-8 leaning by 0.003 per mm, a distance D1 and an angle A1.
class CharacteristicRegisterTest : public ::testing::Test
{
protected:
    CharacteristicRegisterTest()
    {
        const QList<QStringList> rows{{"1", "0.000", "0.000", "0.000"},   {"2", "50.000", "0.000", "0.000"},
                                      {"3", "50.000", "40.000", "0.000"}, {"4", "0.000", "40.000", "0.000"},
                                      {"5", "0.000", "5.000", "0.000"},   {"6", "0.000", "-5.000", "0.000"},
                                      {"7", "0.060", "5.000", "20.000"},  {"8", "0.060", "-5.000", "20.000"}};
        for (int row = 0; row < rows.size(); ++row)
            points.SetRowTexts(row + 1, rows.at(row));
        features.AddFeature(Feature(TFeatureType::Circle, {25.03, 9.96, 0}, {0, 0, 1}, 20.013, 0.004),
                            {9, 10, 11});
        features.AddFeature(Feature(TFeatureType::Plane, {25, 20, 0}, {0, 0, 1}, 0, 0.012), {1, 2, 3, 4});
        features.AddFeature(Feature(TFeatureType::Cylinder, {0.03, 0, 10}, {0.003, 0, 1}, 10.002, 0.003),
                            {5, 6, 7, 8});
        features.AddRelation(TFeatureRegister::TKind::Distance, "C1", "PL1", {30.012, std::nullopt});
        features.AddRelation(TFeatureRegister::TKind::Angle, "CY1", "PL1", {89.98, std::nullopt});
    }

    int Add(const TDefinition &definition)
    {
        QString problem;
        const int row = characteristics.Add(definition, lookup, &problem);
        EXPECT_GT(row, 0) << problem.toStdString();
        return row;
    }

    TTextTable points{4, 1000};
    TFeatureRegister features;
    TCharacteristicRegister characteristics;
    const C::TLookup lookup = C::LookupIn(features, points);
};

struct TRowCase
{
    TDefinition definition;
    QStringList texts;
};

class CharacteristicRowTest : public CharacteristicRegisterTest,
                              public ::testing::WithParamInterface<TRowCase>
{
};

TEST_P(CharacteristicRowTest, ShowsActualDeviationAndResult)
{
    const int row = Add(GetParam().definition);
    ASSERT_GT(row, 0);
    EXPECT_EQ(characteristics.Table().RowTexts(row).join(" | ").toStdString(),
              GetParam().texts.join(" | ").toStdString());
    // The texts read back as what was asked.
    const auto definition = characteristics.DefinitionOf(row);
    ASSERT_TRUE(definition);
    EXPECT_EQ(C::DefinitionTexts(*definition, std::nullopt).mid(2), GetParam().texts.mid(2, 3));
}

INSTANTIATE_TEST_SUITE_P(
    Bracket, CharacteristicRowTest,
    ::testing::Values(
        TRowCase{{"C1", K::Diameter, {}, {20.0, 0.02, -0.01}},
                 {"C1", "Diameter", "20.000", "0.020", "-0.010", "20.013", "0.013", "OK"}},
        TRowCase{{"C1", K::Diameter, {}, {20.0, 0.01, 0.0}},
                 {"C1", "Diameter", "20.000", "0.010", "0.000", "20.013", "0.013", "NOK"}},
        TRowCase{{"C1", K::PositionY, {}, {10.0, 0.05, -0.05}},
                 {"C1", "Position Y", "10.000", "0.050", "-0.050", "9.960", "-0.040", "OK"}},
        // 2 sqrt(0.03^2 + 0.04^2) = 0.100: on its zone.
        TRowCase{{"C1", K::TruePosition, {}, {25.0, 0.1, 0.0}, 10.0},
                 {"C1", "True position", "25.000 10.000", "0.100", "", "0.100", "0.100", "OK"}},
        TRowCase{{"C1", K::Form, {}, {0.0, 0.005, 0.0}},
                 {"C1", "Roundness", "0.000", "0.005", "", "0.004", "0.004", "OK"}},
        TRowCase{{"PL1", K::Form, {}, {0.0, 0.01, 0.0}},
                 {"PL1", "Flatness", "0.000", "0.010", "", "0.012", "0.012", "NOK"}},
        TRowCase{{"D1", K::Distance, {}, {30.0, 0.01, -0.01}},
                 {"D1", "Distance", "30.000", "0.010", "-0.010", "30.012", "0.012", "NOK"}},
        TRowCase{{"A1", K::Angle, {}, {90.0, 0.05, -0.05}},
                 {"A1", "Angle", "90.000", "0.050", "-0.050", "89.980", "-0.020", "OK"}},
        // The pin's points span 20 mm of its axis, which leans by 0.003 per mm: 0.060 out of square.
        TRowCase{{"CY1", K::Perpendicularity, "PL1", {0.0, 0.05, 0.0}},
                 {"CY1", "Perpendicularity to PL1", "0.000", "0.050", "", "0.060", "0.060", "NOK"}},
        TRowCase{{"PL1", K::Perpendicularity, "CY1", {0.0, 0.1, 0.0}},
                 {"PL1", "Perpendicularity to CY1", "0.000", "0.100", "", "0.150", "0.150", "NOK"}}));

TEST_F(CharacteristicRegisterTest, RefusesWhatHasNoMeaning)
{
    const QList<std::pair<TDefinition, const char *>> refused{
        {{"PL1", K::Diameter, {}, {20.0, 0.02, 0.0}}, "no diameter"},
        {{"C9", K::Diameter, {}, {20.0, 0.02, 0.0}}, "no feature C9"},
        {{"D1", K::Angle, {}, {90.0, 0.1, -0.1}}, "no angle"},
        {{"C1", K::Diameter, {}, {20.0, -0.01, 0.01}}, "below the lower"},
        {{"PL1", K::Form, {}, {0.0, -0.01, 0.0}}, "cannot be negative"},
        {{"CY1", K::Perpendicularity, {}, {0.0, 0.05, 0.0}}, "needs a datum"},
        {{"CY1", K::Perpendicularity, "C1", {0.0, 0.05, 0.0}}, "needs a datum"},
        {{"CY1", K::Parallelism, "CY1", {0.0, 0.05, 0.0}}, "its own datum"},
    };
    for (const auto &[definition, why] : refused) {
        QString problem;
        EXPECT_EQ(characteristics.Add(definition, lookup, &problem), 0) << why;
        EXPECT_TRUE(problem.contains(QString::fromUtf8(why))) << problem.toStdString();
    }
    EXPECT_EQ(characteristics.Count(), 0);
}

TEST_F(CharacteristicRegisterTest, AMissingActualSaysSoAndTheSummaryCountsIt)
{
    Add({"C1", K::Diameter, {}, {20.0, 0.02, 0.0}});
    Add({"PL1", K::Form, {}, {0.0, 0.01, 0.0}});
    Add({"D1", K::Distance, {}, {30.0, 0.02, -0.02}});
    EXPECT_EQ(characteristics.Summary().Text(), QStringLiteral("3 characteristics, 2 OK, 1 NOK"));
    EXPECT_EQ(characteristics.Summary().Overall(), C::NokText);

    // The bore is deleted: its characteristic stays, without an actual.
    features.DeleteRow(features.FindRow("C1"));
    characteristics.Evaluate(lookup);
    EXPECT_EQ(characteristics.Table().RowTexts(1).mid(5), (QStringList{"", "", "missing"}));
    EXPECT_EQ(characteristics.Summary().Text(), QStringLiteral("3 characteristics, 1 OK, 1 NOK, 1 missing"));

    EXPECT_EQ(characteristics.Actuals(), (QStringList{"", "0.012", "30.012"}));
    const QList<TResultsColumn> columns = characteristics.HistoryColumns();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns.at(0).Heading(), QStringLiteral("C1 Diameter 20.000 +0.020/+0.000"));
    EXPECT_EQ(columns.at(1).Heading(), QStringLiteral("PL1 Flatness 0.000 +0.010"));

    characteristics.ClearResults();
    EXPECT_EQ(characteristics.Summary().missing, 3);
    EXPECT_EQ(characteristics.Summary().Overall(), QStringLiteral("incomplete"));
}

} // namespace
