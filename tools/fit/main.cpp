// qintar-fit: the station's Gaussian fits on the command line, from a file of points.
#include "fitreport.h"
#include "geometry/featurefit.h"
#include "geometry/probecompensation.h"
#include "pointfilereader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cmath>
#include <cstdio>

namespace {
// Exit codes: the fit made, the fit impossible (or the file unreadable), the command line wrong.
constexpr int kFitted = 0;
constexpr int kNoFit = 1;
constexpr int kUsage = 2;

void Print(const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Fail(const QString &message, int code)
{
    QTextStream(stderr) << "qintar-fit: " << message << Qt::endl;
    return code;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qintar-fit"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QINTAR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fits a feature to the points of FILE by orthogonal least squares and prints it.\n"
        "TYPE is one of line, plane, circle, sphere, cylinder, cone. FILE holds one point a line: "
        "\"x y z\" separated by blanks, tabs or a comma, or \"x y z i j k\" with the probe's approach "
        "direction; a first line holding a single whole number is the count of points. The station's "
        "coordinate table files (\"Pt,X,Y,Z\" rows) are read too.\n"
        "With --ball D the points are taken as the centres of a probe ball of diameter D and the feature "
        "is moved onto the surface, on the side the approach directions say; where they disagree or are "
        "missing it is printed as fitted, with the reason on standard error.\n"
        "Exit status: 0 fitted, 1 no fit (the reason on standard error), 2 usage error."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption json(
        QStringLiteral("json"), QStringLiteral("Print one JSON object, numbers with 17 significant digits."));
    parser.addOption(json);
    const QCommandLineOption ball(QStringLiteral("ball"),
                                  QStringLiteral("Compensate a probe ball of diameter D (mm) by the approach "
                                                 "directions of the points."),
                                  QStringLiteral("D"));
    parser.addOption(ball);
    parser.addPositionalArgument(QStringLiteral("TYPE"), QStringLiteral("The feature: line, plane, circle, "
                                                                        "sphere, cylinder or cone."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The file of points."));

    if (!parser.parse(QCoreApplication::arguments()))
        return Fail(parser.errorText(), kUsage);
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return kFitted;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << "qintar-fit " << QCoreApplication::applicationVersion() << Qt::endl;
        return kFitted;
    }
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return Fail(QStringLiteral("expected TYPE and FILE (see --help)"), kUsage);
    const auto type = TFitReport::TypeFromName(arguments.at(0).toStdString());
    if (!type)
        return Fail(QStringLiteral("unknown feature type '%1': line, plane, circle, sphere, cylinder or cone")
                        .arg(arguments.at(0)),
                    kUsage);

    double ballDiameter = 0.0;
    if (parser.isSet(ball)) {
        bool valid = false;
        ballDiameter = parser.value(ball).toDouble(&valid);
        if (!valid || !std::isfinite(ballDiameter) || ballDiameter < 0.0)
            return Fail(QStringLiteral("--ball takes a diameter in millimetres, 0 or more, not '%1'")
                            .arg(parser.value(ball)),
                        kUsage);
    }

    std::string error;
    const auto file = TPointFileReader::ReadFile(arguments.at(1).toStdString(), error);
    if (!file)
        return Fail(QString::fromStdString(error), kNoFit);
    if (!parser.isSet(ball)) {
        const TGeometryOutcome outcome = FitFeature(*type, file->points);
        if (!outcome.ok)
            return Fail(QString::fromStdString(outcome.reason), kNoFit);
        Print(parser.isSet(json) ? TFitReport::Json(outcome.feature) + "\n"
                                 : TFitReport::Summary(outcome.feature));
        return kFitted;
    }

    const TApproachList approaches(file->directions.begin(), file->directions.end());
    const TCompensationOutcome compensation = FitCompensated(*type, file->points, approaches, ballDiameter);
    if (!compensation.outcome.ok)
        return Fail(QString::fromStdString(compensation.outcome.reason), kNoFit);
    if (!compensation.compensated)
        QTextStream(stderr) << "qintar-fit: not compensated: "
                            << QString::fromStdString(compensation.reason.empty() ? "no approach directions"
                                                                                  : compensation.reason)
                            << Qt::endl;
    const TGeometryFeature &feature = compensation.outcome.feature;
    Print(parser.isSet(json) ? TFitReport::Json(feature, compensation.compensated) + "\n"
                             : TFitReport::Summary(feature) +
                                   (compensation.compensated ? "  compensated for the ball\n" : ""));
    return kFitted;
}
