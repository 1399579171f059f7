#pragma once

#include <QIODevice>
#include <QString>
#include <optional>

// Reads the lines of an 8-bit text file (Windows-1252). A line ends at LF or at CR LF; a CR that no LF
// follows stays in the line. The last line needs no line end. A line longer than MaxLineBytes is cut
// there and the rest of it skipped, so a file without line ends cannot fill the memory.
class TLineReader
{
public:
    static constexpr qint64 MaxLineBytes = 64 * 1024;

    explicit TLineReader(QIODevice &device) : m_device(device) {}

    // The next line, or no value at the end of the file (and at every call after it).
    std::optional<QString> ReadLine();
    bool ReachedEnd() const { return m_reachedEnd; }
    // The device gave nothing although it was not at its end.
    bool ReadError() const { return m_readError; }

private:
    QIODevice &m_device;
    bool m_reachedEnd = false;
    bool m_readError = false;
};
