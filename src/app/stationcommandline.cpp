#include "app/stationcommandline.h"

#include "app/settingsfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString ProgramName = QStringLiteral("qintarsoft");

TStationCommandLine::TResult Failure(const QString &message)
{
    TStationCommandLine::TResult result;
    result.ExitCode = 2;
    result.Error = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(ProgramName, message);
    return result;
}

// The window system's own options, which QApplication takes out of the command line: accepted here
// so that the command line can be read before there is a QApplication.
QList<QCommandLineOption> WindowSystemOptions()
{
    QList<QCommandLineOption> options;
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                             "geometry", "style", "stylesheet", "name", "title", "visual", "im"})
        options.append(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "cmap"})
        options.append(QCommandLineOption(QString::fromLatin1(name)));
    for (QCommandLineOption &option : options)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    return options;
}

} // namespace

QStringList TStationCommandLine::Arguments(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString TStationCommandLine::Version()
{
    return QStringLiteral(QINTAR_VERSION);
}

QString TStationCommandLine::DocumentsFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath() + QStringLiteral("/Documents");
    return QDir::cleanPath(documents + QStringLiteral("/QintarSoft"));
}

TStationCommandLine::TResult TStationCommandLine::Parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "QintarSoft, the station of the three-axis measuring device. Projects go to the "
        "folder Data below the working directory, by default the directory it is started in."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Serial port number N for this run, instead of the settings file's (0 offers the "
                       "ports that exist)."),
        QStringLiteral("N"));
    const QCommandLineOption workingDirectory(
        {QStringLiteral("w"), QStringLiteral("working-directory")},
        QStringLiteral("Work in the existing directory DIR: projects go to DIR/Data."),
        QStringLiteral("DIR"));
    const QCommandLineOption documentsFolder(
        QStringLiteral("documents-folder"),
        QStringLiteral("Work in %1, made if missing (the menu entry does this).").arg(DocumentsFolder()));
    parser.addOptions({help, version, port, workingDirectory, documentsFolder});
    parser.addOptions(WindowSystemOptions());
    // Qt's own options come with one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments))
        return Failure(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Failure(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()));

    TResult result;
    if (parser.isSet(help)) {
        // Without a QCoreApplication the parser cannot name the program.
        const QString usage = QStringLiteral("Usage: ");
        result.Output = parser.helpText();
        result.Output.replace(0, result.Output.indexOf(QLatin1String(" [options]")), usage + ProgramName);
        return result;
    }
    if (parser.isSet(version)) {
        result.Output = QStringLiteral("QintarSoft %1\n").arg(Version());
        return result;
    }
    if (parser.isSet(port)) {
        const std::optional<quint16> number = TSettingsFile::ParsePortNumber(parser.value(port));
        if (!number)
            return Failure(QStringLiteral("the port number '%1' is not a number from 0 to 65535.")
                               .arg(parser.value(port)));
        result.Options.PortNumber = number;
    }
    if (parser.isSet(workingDirectory) && parser.isSet(documentsFolder))
        return Failure(QStringLiteral("give either --working-directory or --documents-folder, not both."));
    if (parser.isSet(workingDirectory)) {
        if (parser.value(workingDirectory).isEmpty())
            return Failure(QStringLiteral("the working directory is empty."));
        result.Options.WorkingDirectory =
            QDir::cleanPath(QDir::current().absoluteFilePath(parser.value(workingDirectory)));
    } else if (parser.isSet(documentsFolder)) {
        result.Options.WorkingDirectory = DocumentsFolder();
        result.Options.MakeWorkingDirectory = true;
    }
    result.Start = true;
    return result;
}

std::optional<QString> TStationCommandLine::EnterWorkingDirectory(const TOptions &options)
{
    const QString &folder = options.WorkingDirectory;
    if (folder.isEmpty())
        return std::nullopt;
    if (options.MakeWorkingDirectory && !QDir().mkpath(folder))
        return QStringLiteral("Cannot create the working directory ") + QDir::toNativeSeparators(folder);
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("The working directory ") + QDir::toNativeSeparators(folder) +
               QStringLiteral(" does not exist");
    if (!QDir::setCurrent(folder))
        return QStringLiteral("Cannot enter the working directory ") + QDir::toNativeSeparators(folder);
    return std::nullopt;
}
