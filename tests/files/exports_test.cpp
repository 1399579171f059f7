#include "files/csvexport.h"
#include "files/dxfexport.h"
#include "knownproject.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using K = TTableFile::TKind;

QByteArray Records(const QStringList &records)
{
    QByteArray bytes;
    for (const QString &record : records)
        bytes += record.toUtf8() + "\r\n";
    return bytes;
}

// A locale that writes a comma as decimal mark, so that no number takes the locale's form unnoticed.
class Exports : public ::testing::Test
{
protected:
    Exports()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        LoadKnownProject(tables);
    }
    ~Exports() override { QLocale::setDefault(QLocale::c()); }

    TTablesUnderTest tables;
    QTemporaryDir dir;
};

TEST_F(Exports, CsvOfTheKnownProjectByteForByte)
{
    EXPECT_EQ(TCsvExport::Compose(K::Coordinates, tables.data),
              Records({"Point,X (mm),Y (mm),Z (mm)", "1,0.000,0.000,0.000", "2,30.000,0.000,0.000",
                       "3,30.000,40.000,-5.250", "4,-12.345,6.789,100.000", "5,1.5 µm,\"\"\"2\"\"\",3.000"}));
    EXPECT_EQ(TCsvExport::Compose(K::Distances, tables.distances),
              Records({"Point 1,Point 2,delta X (mm),delta Y (mm),delta Z (mm),delta R (mm)",
                       "1,2,30.000,0.000,0.000,30.000", "1,3,30.000,40.000,-5.250,50.274",
                       "2,9,1.000,1.000,1.000,1.732"}));
    EXPECT_EQ(
        TCsvExport::Compose(K::Angles, tables.angles),
        Records({"Point 1,Point 2 (vertex),Point 3,theta3D (deg),thetaXY (deg),thetaXZ (deg),thetaYZ (deg)",
                 "2,1,3,53.365,53.130,***.***,***.***", "1,2,3,90.000,90.000,***.***,***.***",
                 "4,5,1,12.000,13.000,14.000,15.000"}));

    const QString fileName = dir.filePath(QStringLiteral("points.csv"));
    ASSERT_TRUE(TCsvExport::Save(K::Coordinates, tables.data, fileName).Ok());
    QFile written(fileName);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), TCsvExport::Compose(K::Coordinates, tables.data));
}

// The drawing as an independent reader (ezdxf) finds it: units, points with labels, lines on layers.
TEST_F(Exports, DxfReadsBackInAnIndependentReader)
{
    const TDxfExport::TDrawing drawing = TDxfExport::Compose(tables.data, tables.distances, tables.angles);
    EXPECT_EQ(drawing.points, 4);
    EXPECT_EQ(drawing.distances, 2);
    EXPECT_EQ(drawing.angles, 2);
    // Point 5's X, the distance to the missing point 9 and the angle through point 5.
    EXPECT_EQ(drawing.leftOut, 3);

    const QString fileName = dir.filePath(QStringLiteral("drawing.dxf"));
    const TFileResult result = TDxfExport::Save(tables.data, tables.distances, tables.angles, fileName);
    ASSERT_TRUE(result.Ok()) << result.message.toStdString();
    EXPECT_EQ(result.warnings, QStringList{TDxfExport::LeftOutMessage(3)});

    auto xyz = [](double x, double y, double z) { return QJsonArray{x, y, z}; };
    const QJsonArray p1 = xyz(0, 0, 0), p2 = xyz(30, 0, 0), p3 = xyz(30, 40, -5.25),
                     p4 = xyz(-12.345, 6.789, 100);
    const QJsonObject expected{
        {"points",
         QJsonArray{QJsonObject{{"label", "1"}, {"xyz", p1}}, QJsonObject{{"label", "2"}, {"xyz", p2}},
                    QJsonObject{{"label", "3"}, {"xyz", p3}}, QJsonObject{{"label", "4"}, {"xyz", p4}}}},
        {"distances", QJsonArray{QJsonArray{p1, p2}, QJsonArray{p1, p3}}},
        // Each leg runs from the vertex (the second point) to an outer point.
        {"angle_legs",
         QJsonArray{QJsonArray{p1, p2}, QJsonArray{p1, p3}, QJsonArray{p2, p1}, QJsonArray{p2, p3}}},
    };
    const QString expectedName = dir.filePath(QStringLiteral("expected.json"));
    QFile expectedFile(expectedName);
    ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly));
    expectedFile.write(QJsonDocument(expected).toJson());
    expectedFile.close();

    QProcess reader;
    reader.setProcessChannelMode(QProcess::MergedChannels);
    reader.start(QStringLiteral(QINTAR_PYTHON3),
                 {QStringLiteral(QINTAR_DXF_READBACK), fileName, expectedName});
    ASSERT_TRUE(reader.waitForFinished(120000)) << "the reader did not finish";
    const QByteArray output = reader.readAll();
    EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(reader.exitCode(), 0) << output.toStdString();
}

struct TWriter
{
    const char *name;
    std::function<TFileResult(const TTablesUnderTest &, const QString &)> save;
};

class FailedExport : public ::testing::TestWithParam<TWriter>
{
};

// A folder that cannot be written even by root: its would-be parent is a regular file.
TEST_P(FailedExport, IsReportedAndLeavesNothingBehind)
{
    TTablesUnderTest tables;
    LoadKnownProject(tables);
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const QString fileName = dir.filePath(QStringLiteral("blocker/export"));
    const TFileResult result = GetParam().save(tables, fileName);
    EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    EXPECT_TRUE(result.message.contains(fileName)) << result.message.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"blocker"});
}

INSTANTIATE_TEST_SUITE_P(Writers, FailedExport,
                         ::testing::Values(TWriter{"Csv",
                                                   [](const TTablesUnderTest &t, const QString &f) {
                                                       return TCsvExport::Save(K::Angles, t.angles, f);
                                                   }},
                                           TWriter{"Dxf",
                                                   [](const TTablesUnderTest &t, const QString &f) {
                                                       return TDxfExport::Save(t.data, t.distances, t.angles,
                                                                               f);
                                                   }}),
                         [](const ::testing::TestParamInfo<TWriter> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
