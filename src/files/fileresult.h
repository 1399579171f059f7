#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What a file operation tells the window. Nothing is thrown: a refused or failed operation comes back
// with its status and the text to show, a finished one may carry warnings for the operator and, for a
// load, the values the window takes over.
struct TFileResult
{
    enum class TStatus
    {
        Done,
        // The project name is empty or blank: show message (a plain message box), nothing written.
        NoProjectName,
        // The project name cannot be a file name: show message (a plain message box), nothing written.
        RefusedName,
        // The file could not be created, written, opened or read: show message in the error box.
        // Nothing has been changed (a save leaves any older file as it was).
        Failed,
    };

    TStatus status = TStatus::Done;
    QString message;
    // The operation was done, but the operator should be told (rows not loaded, characters written as
    // "?", a file that ended early).
    QStringList warnings;
    // The file written or read.
    QString fileName;
    // After a load of points: the new PointCount. After a project load: the project name read.
    std::optional<int> pointCount;
    std::optional<QString> projectName;

    bool Ok() const { return status == TStatus::Done; }
};
