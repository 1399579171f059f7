#include "files/featuresection.h"
#include "files/projectfile.h"
#include "filestestsupport.h"
#include "knownproject.h"
#include "register/featureregister.h"

#include <gtest/gtest.h>

namespace {

const QString kStamp = QStringLiteral("2026Dec09_120000");
constexpr int kFeatureColumns = 12;

const QStringList kCircle{"C1",       "Circle",   "1-4, 9",   "10.000", "-5.000", "0.000",
                          "0.000000", "0.000000", "1.000000", "20.000", "0.002",  ""};
const QStringList kDistance{"D1", "Distance", "C1, PL1", "", "", "", "", "", "", "12.500", "", ""};

// The register's tables with the features table beside them.
struct TProjectUnderTest
{
    TTablesUnderTest tables;
    TTextTable features{kFeatureColumns, 1000};
    TTextTable approaches{TFeatureSection::ApproachColumnCount, 1000};
    TTextTable alignments{TFeatureSection::AlignmentColumnCount, 1000};

    TFileTables Files()
    {
        TFileTables files = tables.Tables();
        files.features = &features;
        files.approaches = &approaches;
        files.alignments = &alignments;
        return files;
    }

    TFileResult Load(QByteArray bytes)
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return TProjectFile(Files()).Load(buffer);
    }
};

TEST(FeatureSection, AProjectWithoutFeaturesIsByteForByteTodays)
{
    TProjectUnderTest project;
    ASSERT_TRUE(project.Load(KnownProjectBytes()).Ok());
    EXPECT_TRUE(project.features.IsRowFree(1));
    // Written again with and without a features table: the very same bytes as today's writer.
    const QByteArray today =
        TProjectFile(project.tables.Tables()).Compose(QStringLiteral("Bracket 7"), kStamp);
    EXPECT_EQ(TProjectFile(project.Files()).Compose(QStringLiteral("Bracket 7"), kStamp), today);
    EXPECT_TRUE(today.endsWith("[End]\r\n"));
}

TEST(FeatureSection, FeaturesRoundTripAfterTheEndLine)
{
    TProjectUnderTest source;
    ASSERT_TRUE(source.Load(KnownProjectBytes()).Ok());
    QStringList quoted = kCircle;
    quoted[0] = QStringLiteral("C2");
    quoted[2] = QStringLiteral("say \"7\", 8 ");
    source.features.SetRowTexts(1, kCircle);
    source.features.SetRowTexts(2, kDistance);
    source.features.SetRowTexts(3, quoted);
    const QByteArray bytes = TProjectFile(source.Files()).Compose(QStringLiteral("Bracket 7"), kStamp);
    const QByteArray withoutFeatures =
        TProjectFile(source.tables.Tables()).Compose(QStringLiteral("Bracket 7"), kStamp);
    ASSERT_TRUE(bytes.startsWith(withoutFeatures));
    EXPECT_EQ(bytes.mid(withoutFeatures.size()),
              Crlf({"[Features]", "Feature, Type, From, X, Y, Z, I, J, K, Size, Form, Apex",
                    "C1,Circle,\"1-4, 9\",10.000,-5.000,0.000,0.000000,0.000000,1.000000,20.000,0.002,",
                    "D1,Distance,\"C1, PL1\",,,,,,,12.500,,",
                    "C2,Circle,\"say \"\"7\"\", 8 \",10.000,-5.000,0.000,0.000000,0.000000,1.000000,20.000,"
                    "0.002,",
                    "[End Features]"}));

    TProjectUnderTest loaded;
    loaded.features.SetRowTexts(5, kCircle);
    const TFileResult result = loaded.Load(bytes);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join("\n").toStdString();
    EXPECT_EQ(loaded.tables.Rows(loaded.features), QList<QStringList>({kCircle, kDistance, quoted}));
    EXPECT_TRUE(loaded.features.IsRowFree(5));
    EXPECT_EQ(loaded.tables.Rows(loaded.tables.data), source.tables.Rows(source.tables.data));
    EXPECT_EQ(loaded.tables.Rows(loaded.tables.angles), source.tables.Rows(source.tables.angles));

    // A reader of today's layout stops at "[End]": the same tables, no warning.
    TTablesUnderTest older;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const TFileResult olderResult = TProjectFile(older.Tables()).Load(buffer);
    EXPECT_TRUE(olderResult.warnings.isEmpty());
    EXPECT_EQ(older.Rows(older.data), source.tables.Rows(source.tables.data));
    EXPECT_EQ(older.Rows(older.distances), source.tables.Rows(source.tables.distances));
}

// The approach directions follow the feature rows inside the section; a load replaces those held.
TEST(FeatureSection, ApproachDirectionsRoundTripWithTheFeatures)
{
    TProjectUnderTest source;
    ASSERT_TRUE(source.Load(KnownProjectBytes()).Ok());
    source.features.SetRowTexts(1, kCircle);
    const QStringList first{"1", "0.707107", "-0.707107", "0.000000"};
    const QStringList ninth{"9", "0.000000", "0.000000", "-1.000000"};
    source.approaches.SetRowTexts(1, first);
    source.approaches.SetRowTexts(2, ninth);
    const QByteArray bytes = TProjectFile(source.Files()).Compose(QStringLiteral("Bracket 7"), kStamp);
    EXPECT_TRUE(bytes.endsWith(Crlf({"[Approach Directions]", "Pt, I, J, K", "1,0.707107,-0.707107,0.000000",
                                     "9,0.000000,0.000000,-1.000000", "[End Features]"})))
        << bytes.constData();

    TProjectUnderTest loaded;
    loaded.approaches.SetRowTexts(3, {"4", "1.000000", "0.000000", "0.000000"});
    const TFileResult result = loaded.Load(bytes);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join("\n").toStdString();
    EXPECT_EQ(loaded.tables.Rows(loaded.features), QList<QStringList>({kCircle}));
    EXPECT_EQ(loaded.tables.Rows(loaded.approaches), QList<QStringList>({first, ninth}));

    // Without features there is no section, and so no directions: the project stays today's.
    TProjectUnderTest bare;
    ASSERT_TRUE(bare.Load(KnownProjectBytes()).Ok());
    bare.approaches.SetRowTexts(1, first);
    EXPECT_EQ(TProjectFile(bare.Files()).Compose(QStringLiteral("Bracket 7"), kStamp),
              TProjectFile(bare.tables.Tables()).Compose(QStringLiteral("Bracket 7"), kStamp));
}

// The alignments' own texts close the section; what is saved, loaded and saved again is the same file.
TEST(FeatureSection, AlignmentsRoundTripByteForByte)
{
    TProjectUnderTest source;
    ASSERT_TRUE(source.Load(KnownProjectBytes()).Ok());
    const QStringList aligned{"AL1",      "Alignment", "Z: PL1, X: C1-C2, origin: C3 (Z: PL1)",
                              "10.000",   "-5.000",    "0.000",
                              "0.017452", "0.000000",  "0.999848",
                              "",         "",          ""};
    const QStringList turned{"AL2",      "Alignment", "Z: PL1, X: L1, origin: C1",
                             "1.000",    "2.000",     "3.000",
                             "0.000000", "0.000000",  "1.000000",
                             "",         "",          ""};
    source.features.SetRowTexts(1, kCircle);
    source.features.SetRowTexts(2, aligned);
    source.features.SetRowTexts(3, turned);
    source.approaches.SetRowTexts(1, {"1", "0.707107", "-0.707107", "0.000000"});
    source.alignments.SetRowTexts(1, {"AL1", "", "0.999848", "0.000000", "-0.017452"});
    source.alignments.SetRowTexts(2, {"AL2", "Yes", "0.866025", "0.500000", "0.000000"});
    const QByteArray bytes = TProjectFile(source.Files()).Compose(QStringLiteral("Bracket 7"), kStamp);
    EXPECT_TRUE(bytes.endsWith(
        Crlf({"[Approach Directions]", "Pt, I, J, K", "1,0.707107,-0.707107,0.000000", "[Alignments]",
              "Alignment, Active, X I, X J, X K", "AL1,,0.999848,0.000000,-0.017452",
              "AL2,Yes,0.866025,0.500000,0.000000", "[End Features]"})))
        << bytes.constData();
    EXPECT_TRUE(
        bytes.contains("AL1,Alignment,\"Z: PL1, X: C1-C2, origin: C3 (Z: PL1)\",10.000,-5.000,0.000,"));

    TProjectUnderTest loaded;
    loaded.alignments.SetRowTexts(4, {"AL9", "Yes", "1.000000", "0.000000", "0.000000"});
    const TFileResult result = loaded.Load(bytes);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join("\n").toStdString();
    EXPECT_EQ(loaded.tables.Rows(loaded.alignments), source.tables.Rows(source.alignments));
    EXPECT_EQ(loaded.tables.Rows(loaded.approaches), source.tables.Rows(source.approaches));
    EXPECT_EQ(TProjectFile(loaded.Files()).Compose(QStringLiteral("Bracket 7"), kStamp), bytes);

    // Alignments without their subsection (no approaches either) still come back; a project without
    // features keeps no alignments and stays today's file.
    TProjectUnderTest bare;
    ASSERT_TRUE(bare.Load(KnownProjectBytes()).Ok());
    bare.features.SetRowTexts(1, turned);
    bare.alignments.SetRowTexts(1, {"AL2", "Yes", "0.866025", "0.500000", "0.000000"});
    const QByteArray noApproaches = TProjectFile(bare.Files()).Compose(QStringLiteral("Bracket 7"), kStamp);
    EXPECT_FALSE(noApproaches.contains("[Approach Directions]"));
    TProjectUnderTest again;
    ASSERT_TRUE(again.Load(noApproaches).Ok());
    EXPECT_EQ(again.tables.Rows(again.alignments), bare.tables.Rows(bare.alignments));
    bare.features.ClearDataRows();
    EXPECT_EQ(TProjectFile(bare.Files()).Compose(QStringLiteral("Bracket 7"), kStamp),
              TProjectFile(bare.tables.Tables()).Compose(QStringLiteral("Bracket 7"), kStamp));
}

// A constructed feature is a row like any other: its recipe, with its commas, comes back as it was and
// still reads as a construction of the features it names.
TEST(FeatureSection, ConstructedFeaturesRoundTripWithTheirRecipes)
{
    TFeatureRegister source;
    for (const auto &[x, y] : {std::pair{10.0, 0.0}, {0.0, 10.0}, {-10.0, 0.0}}) {
        TGeometryFeature hole;
        hole.type = TFeatureType::Circle;
        hole.location = {x, y, 3.0};
        hole.direction = Eigen::Vector3d::UnitZ();
        hole.diameter = 6.0;
        source.AddFeature(hole, {1, 2, 3});
    }
    TGeometryFeature pitch;
    pitch.type = TFeatureType::Circle;
    pitch.location = {0.0, 0.0, 3.0};
    pitch.direction = Eigen::Vector3d::UnitZ();
    pitch.diameter = 20.0;
    ASSERT_EQ(source.AddConstructed(pitch, {TConstructionRecipe::TKind::BoltCircle, {"C1", "C2", "C3"}}), 4);

    TProjectUnderTest project;
    ASSERT_TRUE(project.Load(KnownProjectBytes()).Ok());
    for (int row = 1; row <= 4; ++row)
        project.features.SetRowTexts(row, source.Table().RowTexts(row));
    const QByteArray bytes = TProjectFile(project.Files()).Compose(QStringLiteral("Bracket 7"), kStamp);
    EXPECT_TRUE(bytes.contains("\r\nC4,Circle,\"Bolt circle C1, C2, C3\",0.000,0.000,3.000,0.000000,0.000000,"
                               "1.000000,20.000,0.000,\r\n"))
        << bytes.constData();

    TProjectUnderTest loaded;
    ASSERT_TRUE(loaded.Load(bytes).Ok());
    TFeatureRegister back;
    for (int row = 1; row <= 4; ++row)
        back.Table().SetRowTexts(row, loaded.features.RowTexts(row));
    EXPECT_EQ(back.Table().RowTexts(4), source.Table().RowTexts(4));
    const auto recipe = back.Source(4)->recipe;
    ASSERT_TRUE(recipe.has_value());
    EXPECT_EQ(recipe->kind, TConstructionRecipe::TKind::BoltCircle);
    EXPECT_EQ(recipe->inputs, QStringList({"C1", "C2", "C3"}));
    EXPECT_TRUE(back.Source(1)->points == QList<int>({1, 2, 3}) && !back.Source(1)->recipe);
}

TEST(FeatureSection, ProjectsBeforeFeaturesAndDamagedSectionsLoad)
{
    TProjectUnderTest project;
    project.features.SetRowTexts(1, kCircle);
    // Written before features: the features table is emptied with the others.
    // (The known project's one warning is its row without a point number.)
    EXPECT_EQ(project.Load(KnownProjectBytes()).warnings.size(), 1);
    EXPECT_TRUE(project.features.IsRowFree(1));

    // Lines after "[End]" before the section are passed over; a section cut off is loaded and told.
    const QByteArray cut = KnownProjectBytes() + Crlf({"", "[Features]", "Feature, Type",
                                                       "  C1 ,Circle,\"1-3", ",lost", "PL1,Plane"});
    const TFileResult result = project.Load(cut);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(project.tables.Rows(project.features),
              QList<QStringList>({QStringList{"C1", "Circle", "1-3", "", "", "", "", "", "", "", "", ""},
                                  QStringList{"PL1", "Plane", "", "", "", "", "", "", "", "", "", ""}}));
    EXPECT_TRUE(result.warnings.join("\n").contains("[End Features]"));
    EXPECT_TRUE(result.warnings.join("\n").contains("2 blank line"));
}

TEST(FeatureSection, SplitsQuotedAndPlainFields)
{
    EXPECT_EQ(TFeatureSection::SplitRow(QStringLiteral(" a , \"b,c\" x ,\"\"\"\",,"), 6),
              QStringList({"a", "b,c", "\"", "", "", ""}));
    EXPECT_EQ(TFeatureSection::SplitRow(QStringLiteral("1,2,3"), 2), QStringList({"1", "2"}));
    for (const QStringList &texts : {kCircle, kDistance, QStringList{" lead", "trail ", "\"", ",", "", ""}})
        EXPECT_EQ(TFeatureSection::SplitRow(TFeatureSection::RowLine(texts), int(texts.size())), texts);
}

} // namespace
