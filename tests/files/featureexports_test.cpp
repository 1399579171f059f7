// The features table in the exports: its CSV, and its circles and lines in the drawing as an
// independent reader (ezdxf) finds them.
#include "files/csvexport.h"
#include "files/dxfexport.h"
#include "knownproject.h"
#include "register/featureregister.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TGeometryFeature Feature(TFeatureType type, Eigen::Vector3d location, Eigen::Vector3d direction,
                         double diameter, double form)
{
    TGeometryFeature f;
    f.type = type;
    f.location = location;
    f.direction = direction.normalized();
    f.diameter = diameter;
    f.form = form;
    return f;
}

// The known project's points, and features made from them: a circle in the X-Y plane, a tilted one
// (its object coordinates differ from the world's), a line along points 1 to 3, a line whose points
// are not in the point table, a plane and a distance (neither drawn).
class FeatureExports : public ::testing::Test
{
protected:
    FeatureExports()
    {
        LoadKnownProject(tables);
        features.SetHeaders();
        features.AddFeature(Feature(TFeatureType::Circle, {10, 20, 5}, {0, 0, 1}, 20.0, 0.004), {1, 2, 3, 4});
        features.AddFeature(Feature(TFeatureType::Circle, {100, -50, 30}, {0.6, 0, 0.8}, 12.5, 0.002),
                            {1, 2, 3});
        features.AddFeature(Feature(TFeatureType::Line, {15, 0, 0}, {1, 0, 0}, 0.0, 0.01), {1, 2, 3});
        features.AddFeature(Feature(TFeatureType::Line, {0, 0, 0}, {0, 1, 0}, 0.0, 0.0), {9, 10});
        features.AddFeature(Feature(TFeatureType::Plane, {0, 0, 0}, {0, 0, 1}, 0.0, 0.0), {1, 2, 4});
        features.AddRelation(TFeatureRegister::TKind::Distance, QStringLiteral("C1"), QStringLiteral("PL1"),
                             {12.5, std::nullopt});
    }

    TTablesUnderTest tables;
    TFeatureRegister features;
    QTemporaryDir dir;
};

TEST_F(FeatureExports, CsvHoldsEveryRowAsTheTableShowsIt)
{
    QByteArray expected =
        "Feature,Type,From,X (mm),Y (mm),Z (mm),I,J,K,Size (mm or deg),Form (mm),Apex (deg)\r\n";
    for (int row = 1; row <= features.FeatureCount(); ++row) {
        QStringList fields = features.Table().RowTexts(row);
        for (QString &field : fields)
            if (field.contains(QLatin1Char(',')))
                field = QLatin1Char('"') + field + QLatin1Char('"');
        expected += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    const QByteArray csv = TCsvExport::ComposeFeatures(features.Table());
    EXPECT_EQ(csv, expected);
    // The rows as written: the tilted circle, and the relation whose From holds a comma.
    EXPECT_TRUE(
        csv.contains("\r\nC2,Circle,1-3,100.000,-50.000,30.000,0.600000,0.000000,0.800000,12.500,0.002,\r\n"))
        << csv.toStdString();
    EXPECT_TRUE(csv.contains("\r\nD1,Distance,\"C1, PL1\",")) << csv.toStdString();

    const QString fileName = dir.filePath(QStringLiteral("features.csv"));
    ASSERT_TRUE(TCsvExport::SaveFeatures(features.Table(), fileName).Ok());
    QFile written(fileName);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), csv);
}

TEST_F(FeatureExports, DrawingWithoutCirclesOrLinesIsAsBefore)
{
    const QByteArray before = TDxfExport::Compose(tables.data, tables.distances, tables.angles).bytes;
    TFeatureRegister none;
    none.SetHeaders();
    EXPECT_EQ(TDxfExport::Compose(tables.data, tables.distances, tables.angles, &none).bytes, before);
    none.AddFeature(Feature(TFeatureType::Plane, {0, 0, 0}, {0, 0, 1}, 0.0, 0.0), {1, 2, 4});
    EXPECT_EQ(TDxfExport::Compose(tables.data, tables.distances, tables.angles, &none).bytes, before);
    EXPECT_FALSE(before.contains("FEATURES"));
}

TEST_F(FeatureExports, DxfCirclesAndLinesReadBackInAnIndependentReader)
{
    const TDxfExport::TDrawing drawing =
        TDxfExport::Compose(tables.data, tables.distances, tables.angles, &features);
    EXPECT_EQ(drawing.features, 3);
    // The known project's three rows, and the line whose points are not in the point table.
    EXPECT_EQ(drawing.leftOut, 4);

    const QString fileName = dir.filePath(QStringLiteral("drawing.dxf"));
    const TFileResult result =
        TDxfExport::Save(tables.data, tables.distances, tables.angles, &features, fileName);
    ASSERT_TRUE(result.Ok()) << result.message.toStdString();
    EXPECT_EQ(result.warnings, QStringList{TDxfExport::LeftOutMessage(4)});

    auto xyz = [](double x, double y, double z) { return QJsonArray{x, y, z}; };
    const QJsonArray p1 = xyz(0, 0, 0), p2 = xyz(30, 0, 0), p3 = xyz(30, 40, -5.25),
                     p4 = xyz(-12.345, 6.789, 100);
    const QJsonObject expected{
        {"points",
         QJsonArray{QJsonObject{{"label", "1"}, {"xyz", p1}}, QJsonObject{{"label", "2"}, {"xyz", p2}},
                    QJsonObject{{"label", "3"}, {"xyz", p3}}, QJsonObject{{"label", "4"}, {"xyz", p4}}}},
        {"distances", QJsonArray{QJsonArray{p1, p2}, QJsonArray{p1, p3}}},
        {"angle_legs",
         QJsonArray{QJsonArray{p1, p2}, QJsonArray{p1, p3}, QJsonArray{p2, p1}, QJsonArray{p2, p3}}},
        {"circles",
         QJsonArray{
             QJsonObject{{"centre", xyz(10, 20, 5)}, {"radius", 10.0}, {"extrusion", xyz(0, 0, 1)}},
             QJsonObject{{"centre", xyz(100, -50, 30)}, {"radius", 6.25}, {"extrusion", xyz(0.6, 0, 0.8)}}}},
        // Points 1 to 3 project onto the line from x = 0 to x = 30.
        {"feature_lines", QJsonArray{QJsonArray{p1, p2}}},
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

} // namespace
