#pragma once

#include "files/fileresult.h"
#include "files/filetables.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

// The project file: the project name, the time of saving and the three tables in one 8-bit text file
// (Windows-1252, CR LF after every line) named after the project in the data folder.
//
//   [General]
//   Project Name = <name>
//   Filed on <yyyymmmdd_hhnnss>
//   [Coordinates]  Point, X, Y, Z                                           point rows
//   [Distances]    Pt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR               distance rows
//   [Angles]       Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ      angle rows
//   [End]
//   [Features] ... [End Features]    feature rows, only when there are features (TFeatureSection)
//
// The reader checks nothing but the three end lines; a hand-edited file with blanks around the ","
// loads as well.
class TProjectFile
{
public:
    // The rules of the file system a project name has to pass as a file name.
    enum class TNameRules
    {
        Posix,
        Windows,
    };
#ifdef Q_OS_WIN
    static constexpr TNameRules NativeRules = TNameRules::Windows;
#else
    static constexpr TNameRules NativeRules = TNameRules::Posix;
#endif

    static inline const QString NamePrefix = QStringLiteral("Project Name = ");
    static inline const QString Extension = QStringLiteral(".prj");
    static inline const QString NoNameMessage = QStringLiteral("Please enter a project name");
    // Longest project name taken from a file.
    static constexpr int MaxNameLength = 99;

    explicit TProjectFile(TFileTables tables) : m_tables(std::move(tables)) {}

    // The whole file for this project name and time stamp. unrepresentable receives the number of
    // characters written as "?".
    QByteArray Compose(const QString &projectName, const QString &timeStamp,
                       qsizetype *unrepresentable = nullptr) const;
    // Writes dataDirectory/<projectName>.prj, the name exactly as typed. A blank name or one that cannot
    // be a file name is refused and nothing is written. The file is written beside the old one and
    // replaces it only when complete.
    TFileResult Save(const QString &dataDirectory, const QString &projectName, const QString &timeStamp,
                     TNameRules rules = NativeRules) const;

    // Reads a project file into the tables. Nothing changes when the file cannot be opened or read; the
    // result carries the project name and the PointCount to take over.
    TFileResult Load(const QString &fileName);
    TFileResult Load(QIODevice &device);

    // What a project file on disk holds, read without loading it: its point rows and its time stamp.
    struct TSummary
    {
        int points = 0;
        QString filedOn;
    };
    // No value when the file cannot be read.
    static std::optional<TSummary> Peek(const QString &fileName);

    // Empty when the name can be saved; otherwise the message for the operator.
    static QString CheckProjectName(const QString &projectName, TNameRules rules = NativeRules);
    static QString FilePath(const QString &dataDirectory, const QString &projectName);

private:
    TFileTables m_tables;
};
