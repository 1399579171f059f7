#include "journal/journalline.h"

#include <array>

namespace {

constexpr std::array<quint32, 256> MakeCrcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<quint32, 256> CrcTable = MakeCrcTable();
constexpr qsizetype CrcDigits = 8;

void AppendEscaped(QByteArray &out, const QString &field)
{
    const QByteArray bytes = field.toUtf8();
    for (const char c : bytes) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

std::optional<QString> Unescaped(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == bytes.size())
            return std::nullopt;
        switch (bytes[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

quint32 TJournalLine::Crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes)
        crc = CrcTable[(crc ^ static_cast<quint8>(c)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray TJournalLine::Encode(const QStringList &fields)
{
    QByteArray payload;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            payload += '\t';
        AppendEscaped(payload, fields[i]);
    }
    QByteArray line = QByteArray::number(Crc32(payload), 16).rightJustified(CrcDigits, '0');
    line += ' ';
    line += payload;
    line += '\n';
    return line;
}

std::optional<QStringList> TJournalLine::Decode(QByteArrayView line)
{
    if (line.size() < CrcDigits + 1 || line.size() > MaxBytes || line[CrcDigits] != ' ')
        return std::nullopt;
    bool ok = false;
    const QByteArrayView digits = line.first(CrcDigits);
    for (const char c : digits)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    const quint32 crc = QByteArray(digits.data(), digits.size()).toUInt(&ok, 16);
    const QByteArrayView payload = line.sliced(CrcDigits + 1);
    if (!ok || crc != Crc32(payload))
        return std::nullopt;
    QStringList fields;
    qsizetype start = 0;
    while (true) {
        qsizetype end = payload.indexOf('\t', start);
        if (end < 0)
            end = payload.size();
        const auto field = Unescaped(payload.sliced(start, end - start));
        if (!field)
            return std::nullopt;
        fields.append(*field);
        if (end == payload.size())
            break;
        start = end + 1;
    }
    return fields;
}
