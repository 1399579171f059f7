#include "files/codepage1252.h"

#include <array>

namespace {

// 0x80 to 0x9F: where 1252 differs from Latin-1. The undefined bytes keep their own code.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString TCodePage1252::Decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
    }
    return text;
}

int TCodePage1252::ByteOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QByteArray TCodePage1252::Encode(QStringView text, qsizetype *unrepresentable)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype lost = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        char32_t character = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            ++i;
        }
        const int byte = ByteOf(character);
        if (byte < 0) {
            bytes.append('?');
            ++lost;
        } else {
            bytes.append(static_cast<char>(byte));
        }
    }
    if (unrepresentable)
        *unrepresentable = lost;
    return bytes;
}
