// The built qintar-fit: its JSON on every NIST set gives back the very doubles of the fit, within the
// reference tolerances, and its exit codes tell a fit that cannot be made from a wrong command line.
#include "featurecompare.h"
#include "fitreport.h"
#include "geometry/featurefit.h"
#include "pointfilereader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

namespace {
struct TRun
{
    int exitCode = -1;
    QByteArray out, err;
};

TRun RunFit(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QINTAR_FIT_PROGRAM), arguments);
    TRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Eigen::Vector3d Vector(const QJsonObject &json, const char *key)
{
    const QJsonArray a = json.value(QLatin1String(key)).toArray();
    return a.size() == 3 ? Eigen::Vector3d(a[0].toDouble(), a[1].toDouble(), a[2].toDouble())
                         : Eigen::Vector3d::Constant(std::nan(""));
}

struct TSet
{
    const char *file;
    const char *type;
};

class FitToolJson : public testing::TestWithParam<TSet>
{
};

TEST_P(FitToolJson, PrintsTheFitToTheLastDigit)
{
    const std::string path = std::string(QINTAR_NIST_DIR) + "/" + GetParam().file + ".ds";
    const TRun run = RunFit(
        {QStringLiteral("--json"), QString::fromLatin1(GetParam().type), QString::fromStdString(path)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &parseError);
    ASSERT_TRUE(document.isObject()) << parseError.errorString().toStdString() << run.out.toStdString();
    const QJsonObject json = document.object();

    std::string error;
    const auto file = TPointFileReader::ReadFile(path, error);
    ASSERT_TRUE(file) << error;
    const auto type = TFitReport::TypeFromName(GetParam().type);
    const TGeometryOutcome outcome = FitFeature(*type, file->points);
    ASSERT_TRUE(outcome.ok);
    const TGeometryFeature &f = outcome.feature;

    // 17 significant digits read back to the same doubles.
    EXPECT_EQ(json.value("type").toString().toStdString(), GetParam().type);
    EXPECT_EQ(json.value("points").toInt(), f.points);
    EXPECT_EQ(json.value("form").toDouble(), f.form);
    EXPECT_EQ(json.value("rms").toDouble(), f.rms);
    const bool centred = f.type == TFeatureType::Circle || f.type == TFeatureType::Sphere;
    EXPECT_EQ(Vector(json, centred ? "centre" : "point"), f.location);
    if (f.type != TFeatureType::Sphere) {
        const bool normal = f.type == TFeatureType::Plane || f.type == TFeatureType::Circle;
        EXPECT_EQ(Vector(json, normal ? "normal" : "direction"), f.direction);
    }
    const bool sized = f.type != TFeatureType::Line && f.type != TFeatureType::Plane;
    EXPECT_EQ(json.contains("diameter"), sized);
    if (sized) {
        EXPECT_EQ(json.value("diameter").toDouble(), f.diameter);
    }
    EXPECT_EQ(json.contains("apex_angle"), f.type == TFeatureType::Cone);
    if (f.type == TFeatureType::Cone) {
        EXPECT_EQ(json.value("apex_angle").toDouble(), f.apexAngle);
    }
    // type, points, form, rms and the location, then what the type adds.
    EXPECT_EQ(json.size(), 5 + (f.type == TFeatureType::Sphere ? 0 : 1) + (sized ? 1 : 0) +
                               (f.type == TFeatureType::Cone ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(NistSets, FitToolJson,
                         testing::Values(TSet{"Line2d/lin2d1", "line"}, TSet{"Line2d/lin2d3", "line"},
                                         TSet{"Line2d/lin2d9", "line"}, TSet{"Line2d/lin2d11", "line"},
                                         TSet{"Line2d/lin2d17", "line"}, TSet{"Line2d/lin2d21", "line"},
                                         TSet{"Line3d/lin3", "line"}, TSet{"Line3d/lin17", "line"},
                                         TSet{"Plane/pla7", "plane"}, TSet{"Plane/pla22", "plane"},
                                         TSet{"Circle3d/cir5", "circle"}, TSet{"Circle3d/cir7", "circle"},
                                         TSet{"Circle3d/cir20", "circle"}, TSet{"Sphere/sph5", "sphere"},
                                         TSet{"Sphere/sph14", "sphere"}, TSet{"Sphere/sph20", "sphere"},
                                         TSet{"Cylinder/cyl23", "cylinder"}, TSet{"Cone/con19", "cone"}),
                         [](const testing::TestParamInfo<TSet> &info) {
                             std::string name = info.param.file;
                             return name.substr(name.find('/') + 1);
                         });

struct TExitCase
{
    const char *name;
    QStringList arguments; // "FILE" stands for a file of collinear points
    int exitCode;
    const char *message;
};

class FitToolExit : public testing::TestWithParam<TExitCase>
{
};

TEST_P(FitToolExit, ExitsWithTheCodeAndTheReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString collinear = dir.filePath(QStringLiteral("collinear.txt"));
    std::ofstream(collinear.toStdString()) << "3\n0 0 0\n1 1 1\n2 2 2\n";
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings(QStringLiteral("FILE"), collinear);
    const TRun run = RunFit(arguments);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(GetParam().message)) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitToolExit,
    testing::Values(TExitCase{"CollinearPlane", {"--json", "plane", "FILE"}, 1, "the points are collinear"},
                    TExitCase{"MissingFile", {"--json", "plane", "/nonexistent/points"}, 1, "cannot open"},
                    TExitCase{"UnknownType", {"--json", "torus", "FILE"}, 2, "unknown feature type 'torus'"},
                    TExitCase{"NoFile", {"plane"}, 2, "expected TYPE and FILE"},
                    TExitCase{
                        "NegativeBall", {"--ball", "-1", "circle", "FILE"}, 2, "--ball takes a diameter"},
                    TExitCase{"UnknownOption", {"--no-such-option", "plane", "FILE"}, 2, "Unknown option"}),
    [](const testing::TestParamInfo<TExitCase> &info) { return info.param.name; });

TEST(FitTool, SummaryNamesTheFormError)
{
    const std::string path = std::string(QINTAR_NIST_DIR) + "/Circle3d/cir20.ds";
    const TRun run = RunFit({QStringLiteral("circle"), QString::fromStdString(path)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("circle of 5 points\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("diameter")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("roundness")) << run.out.toStdString();
}
// Ball centres 9 mm round a bore's axis, approached from inside (moving outward) or, every other point,
// from outside: the bore reads 20 mm with a 2 mm ball; approaches that disagree leave it as fitted.
struct TBallCase
{
    const char *name;
    bool alternate;
    double diameter;
    bool compensated;
};

class FitToolBall : public testing::TestWithParam<TBallCase>
{
};

TEST_P(FitToolBall, CompensatesByTheApproachDirections)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("bore.txt"));
    {
        std::ofstream out(name.toStdString());
        out.precision(17);
        for (int k = 0; k < 8; ++k) {
            const double t = 2.0 * 3.14159265358979323846 * k / 8.0, c = std::cos(t), s = std::sin(t);
            const double sign = GetParam().alternate && k % 2 ? -1.0 : 1.0;
            out << 100 + 9 * c << ' ' << 50 + 9 * s << " 5 " << sign * c << ' ' << sign * s << " 0\n";
        }
    }
    const TRun run = RunFit({QStringLiteral("--json"), QStringLiteral("--ball"), QStringLiteral("2"),
                             QStringLiteral("circle"), name});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    EXPECT_NEAR(json.value("diameter").toDouble(), GetParam().diameter, 1e-9);
    EXPECT_EQ(json.value("compensated").toBool(!GetParam().compensated), GetParam().compensated);
    EXPECT_EQ(run.err.contains("not compensated: the approach directions disagree"), !GetParam().compensated)
        << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Approaches, FitToolBall,
                         testing::Values(TBallCase{"FromInside", false, 20.0, true},
                                         TBallCase{"Disagreeing", true, 18.0, false}),
                         [](const testing::TestParamInfo<TBallCase> &info) { return info.param.name; });
} // namespace
