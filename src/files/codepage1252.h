#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The station's files are 8-bit text in Windows-1252, the code page the station has always run on.
// Decoding is total: every byte maps to one character. The five bytes that 1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same code, so any file read and
// written back keeps its bytes. Encoding writes "?" for every character 1252 cannot hold and counts
// them, so the caller can tell the operator.
class TCodePage1252
{
public:
    static QString Decode(QByteArrayView bytes);
    // unrepresentable, when given, receives the number of characters written as "?" (a character
    // outside the basic plane counts once).
    static QByteArray Encode(QStringView text, qsizetype *unrepresentable = nullptr);
    // The byte of one character, or -1 when 1252 has none.
    static int ByteOf(char32_t character);
};
