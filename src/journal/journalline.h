#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <optional>

// One line of the work journal: its fields as UTF-8, separated by tabs, behind the CRC-32 of those
// bytes in eight hex digits and a blank, ended by LF:
//
//   1c291ca3 T<tab>points<tab>4<tab>4<tab>12.500<tab>-3.250<tab>0.000
//
// A backslash, tab, CR or LF inside a field is written as \\, \t, \r or \n, so a line never holds a
// line end of its own. A line cut short by a crash, or changed in any byte, fails its checksum.
class TJournalLine
{
public:
    // Lines longer than this are not journal lines (a project name and a row of cells stay far below).
    static constexpr qsizetype MaxBytes = 256 * 1024;

    // The whole line, its LF included.
    static QByteArray Encode(const QStringList &fields);
    // The fields of a line without its LF; none when the checksum, the layout or an escape is wrong.
    static std::optional<QStringList> Decode(QByteArrayView line);

    static quint32 Crc32(QByteArrayView bytes);
};
