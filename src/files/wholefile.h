#pragma once

#include "files/fileresult.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

// Reads a file, or writes one whole or not at all: the bytes go to a temporary file in the same folder, which
// replaces result.fileName only once it is complete, so a failure half-way leaves an older file as it was.
class TWholeFile
{
public:
    // Sets result to Failed with the reason when the file cannot be created or written; otherwise adds a
    // warning when unrepresentable characters of the station's text (what: "project", "table") were
    // written as "?".
    // Opens the file for reading and hands it to load; a file that cannot be opened is a Failed result
    // and load is not called, so nothing has been changed.
    static TFileResult Read(const QString &fileName, const std::function<TFileResult(QIODevice &)> &load);
    static void Write(TFileResult &result, const QByteArray &bytes, qsizetype unrepresentable,
                      const QString &what);
};
