#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

// Reads the lines of an 8-bit text file (Windows-1252). A line ends at LF or at CR LF; a CR that no LF
// follows stays in the line. The last line needs no line end. A line longer than MaxLineBytes is cut
// there and the rest of it skipped, so a file without line ends cannot fill the memory.
//
// The device is read in small chunks into one buffer that the lines are cut from, so a line costs no
// more than its own bytes.
class TLineReader
{
public:
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    explicit TLineReader(QIODevice &device) : m_device(device) {}

    // The next line, or no value at the end of the file (and at every call after it).
    std::optional<QString> ReadLine();
    bool ReachedEnd() const { return m_reachedEnd; }
    // The device gave nothing although it was not at its end.
    bool ReadError() const { return m_readError; }

private:
    static constexpr qsizetype ChunkBytes = 4096;

    // Appends the next chunk of the device to m_buffer; false at the end of the device or on an error.
    bool Fill();
    // Drops the bytes of m_buffer up to the next line end, reading on as needed.
    void SkipRestOfLine();

    QIODevice &m_device;
    QByteArray m_buffer;
    // The first byte of m_buffer not yet handed out.
    qsizetype m_position = 0;
    bool m_deviceDone = false;
    bool m_reachedEnd = false;
    bool m_readError = false;
};
