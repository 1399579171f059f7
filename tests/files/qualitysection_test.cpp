#include "files/projectfile.h"
#include "files/qualitysection.h"
#include "filestestsupport.h"

#include <gtest/gtest.h>

namespace {

// A project's tables with features, characteristics and the part's fields.
struct TInspectedProject : TTablesUnderTest
{
    TTextTable features{12, 1000};
    TTextTable characteristics{8, 1000};
    TPartFields part;
    TInspectionTables inspection{characteristics, part};

    TFileTables All(bool withFeatures = true)
    {
        TFileTables tables = Tables();
        tables.features = withFeatures ? &features : nullptr;
        tables.inspection = &inspection;
        return tables;
    }

    TFileResult LoadBytes(const QByteArray &bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return TProjectFile(All()).Load(buffer);
    }
};

TEST(InspectionSection, ComesBackWithTheProjectAfterItsFeatures)
{
    TInspectedProject saved;
    saved.data.SetRowTexts(1, {"1", "10.000", "0.000", "0.000"});
    saved.features.SetRowTexts(1, {"C1", "Circle", "1-8", "25.030", "9.960", "0.000", "0.000000", "0.000000",
                                   "1.000000", "20.013", "0.004", ""});
    saved.characteristics.SetRowTexts(
        1, {"C1", "Diameter", "20.000", "0.020", "-0.010", "20.013", "0.013", "OK"});
    saved.characteristics.SetRowTexts(
        2, {"C1", "True position", "25.000 10.000", "0.100", "", "0.100", "0.100", "OK"});
    saved.part = {"bracket, left", "S-0001", "A. Inspector"};
    const QByteArray bytes = TProjectFile(saved.All()).Compose("p", "t");
    EXPECT_TRUE(
        bytes.endsWith("[End Features]\r\n[Inspection]\r\nPart Name = bracket, left\r\n"
                       "Serial Number = S-0001\r\nOperator = A. Inspector\r\n"
                       "Feature, Characteristic, Nominal, Upper, Lower, Actual, Deviation, Result\r\n"
                       "C1,Diameter,20.000,0.020,-0.010,20.013,0.013,OK\r\n"
                       "C1,True position,25.000 10.000,0.100,,0.100,0.100,OK\r\n[End Inspection]\r\n"))
        << bytes.toStdString();

    TInspectedProject loaded;
    loaded.characteristics.SetRowTexts(5, {"X9", "Diameter"});
    const TFileResult result = loaded.LoadBytes(bytes);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.isEmpty());
    EXPECT_EQ(loaded.Rows(loaded.characteristics), saved.Rows(saved.characteristics));
    EXPECT_TRUE(loaded.characteristics.IsRowFree(5));
    EXPECT_EQ(loaded.features.RowTexts(1), saved.features.RowTexts(1));
    EXPECT_EQ(loaded.part.partName, "bracket, left");
    EXPECT_EQ(loaded.part.operatorName, "A. Inspector");
}

TEST(InspectionSection, IsLeftOutWhenThereIsNothingToKeep)
{
    TInspectedProject project;
    project.data.SetRowTexts(1, {"1", "10.000", "0.000", "0.000"});
    TFileTables without = project.Tables();
    without.features = &project.features;
    EXPECT_EQ(TProjectFile(project.All()).Compose("p", "t"), TProjectFile(without).Compose("p", "t"));

    // The part's fields alone, with no features before them, still come back.
    project.part.serialNumber = "S-7";
    const QByteArray bytes = TProjectFile(project.All()).Compose("p", "t");
    EXPECT_TRUE(bytes.contains("[End]\r\n[Inspection]\r\n"));
    TInspectedProject loaded;
    loaded.part.operatorName = "left over";
    ASSERT_TRUE(loaded.LoadBytes(bytes).Ok());
    EXPECT_EQ(loaded.part.serialNumber, "S-7");
    EXPECT_TRUE(loaded.part.operatorName.isEmpty()) << "a load replaces the fields";

    // A project written before inspections empties them.
    ASSERT_TRUE(loaded.LoadBytes(TProjectFile(without).Compose("p", "t")).Ok());
    EXPECT_TRUE(loaded.part.IsEmpty());
}

TEST(InspectionSection, ACutOffSectionIsToldAndWhatItHoldsLoads)
{
    TInspectedProject project;
    const TFileResult result = project.LoadBytes(
        Crlf({"[General]", "Project Name = p", "Filed on t", "[Coordinates]", "Point, X, Y, Z", "[Distances]",
              "h", "[Angles]", "h", "[End]", "[Inspection]", "Part Name = b", "Serial Number = 1",
              "Operator = o", "h", "C1,Diameter,20.000,0.020,0.000,,,"}));
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(project.characteristics.FilledRowCount(), 1);
    ASSERT_EQ(result.warnings.size(), 1) << result.warnings.join("\n").toStdString();
    EXPECT_TRUE(result.warnings.front().contains("[End Inspection]"));
}

} // namespace
