#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

// A property of a fuzz target that must hold for every input; a failure aborts, so libFuzzer keeps the
// input as a crash and the replay test fails.
[[noreturn]] void FuzzFail(const char *property, const char *file, int line);

#define FUZZ_CHECK(condition, property)                                                                      \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            FuzzFail(property, __FILE__, __LINE__);                                                          \
    } while (false)

// Takes an input apart byte by byte; past its end every byte reads as 0.
class TFuzzBytes
{
public:
    TFuzzBytes(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_position++]; }
    // Up to count bytes, fewer at the end of the input.
    QByteArray Bytes(std::size_t count)
    {
        const std::size_t taken = std::min(count, m_size - std::min(m_position, m_size));
        QByteArray bytes(reinterpret_cast<const char *>(m_data + m_position), static_cast<qsizetype>(taken));
        m_position += taken;
        return bytes;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// True when the text holds "nan" or "inf" in any case.
inline bool HoldsNanOrInf(const QString &text)
{
    return text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}
