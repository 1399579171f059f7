#pragma once

#include "files/fileresult.h"

#include <QByteArray>
#include <QString>

// Writes a file whole or not at all: the bytes go to a temporary file in the same folder, which
// replaces result.fileName only once it is complete, so a failure half-way leaves an older file as it was.
class TWholeFile
{
public:
    // Sets result to Failed with the reason when the file cannot be created or written; otherwise adds a
    // warning when unrepresentable characters of the station's text (what: "project", "table") were
    // written as "?".
    static void Write(TFileResult &result, const QByteArray &bytes, qsizetype unrepresentable,
                      const QString &what);
};
