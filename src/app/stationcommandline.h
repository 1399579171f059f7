#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The station's command line:
//
//   qintarsoft [--port N] [--working-directory DIR | --documents-folder] [--help] [--version]
//
// Without options the station runs in the directory it was started in, on the settings file's port.
// --port takes the port for this run only; the settings file is left as it is. --documents-folder is
// what the menu entry passes: the working directory becomes QintarSoft in the user's documents folder
// (~/Documents/QintarSoft), made if missing, so that Data never lands in the root of the home folder.
class TStationCommandLine
{
public:
    // What the station was asked for when it is to start.
    struct TOptions
    {
        std::optional<quint16> PortNumber;
        // Empty: the directory the station was started in.
        QString WorkingDirectory;
        bool MakeWorkingDirectory = false;
    };

    struct TResult
    {
        // False: nothing starts; Output goes to standard output, Error to standard error, and the
        // program ends with ExitCode.
        bool Start = false;
        int ExitCode = 0;
        QString Output;
        QString Error;
        TOptions Options;
    };

    static QString Version();
    // <documents>/QintarSoft, the menu entry's working directory.
    static QString DocumentsFolder();

    // main's arguments as texts. The command line is read before the QApplication is made, so that
    // help, the version and a wrong option need no window system; the window system's own options
    // ("-platform offscreen", "-style fusion"...) are accepted and left to QApplication.
    static QStringList Arguments(int argc, const char *const *argv);
    // arguments: the program first.
    static TResult Parse(const QStringList &arguments);

    // Makes the chosen working directory current; the text for the operator when it cannot.
    static std::optional<QString> EnterWorkingDirectory(const TOptions &options);
};
