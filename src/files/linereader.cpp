#include "files/linereader.h"

#include "files/codepage1252.h"

bool TLineReader::Fill()
{
    if (m_deviceDone)
        return false;
    if (m_device.atEnd()) {
        m_deviceDone = true;
        return false;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + ChunkBytes);
    const qint64 got = m_device.read(m_buffer.data() + old, ChunkBytes);
    if (got <= 0) {
        m_buffer.resize(old);
        m_deviceDone = true;
        m_readError = true;
        return false;
    }
    m_buffer.resize(old + static_cast<qsizetype>(got));
    return true;
}

void TLineReader::SkipRestOfLine()
{
    while (true) {
        const qsizetype newline = m_buffer.indexOf('\n', m_position);
        if (newline >= 0) {
            m_position = newline + 1;
            return;
        }
        m_buffer.clear();
        m_position = 0;
        if (!Fill())
            return;
    }
}

std::optional<QString> TLineReader::ReadLine()
{
    if (m_reachedEnd)
        return std::nullopt;
    // Bytes already handed out are dropped once they outweigh a chunk, so the buffer stays small.
    if (m_position >= ChunkBytes) {
        m_buffer.remove(0, m_position);
        m_position = 0;
    }

    qsizetype scanned = m_position;
    qsizetype newline = -1;
    while (true) {
        newline = m_buffer.indexOf('\n', scanned);
        if (newline >= 0 || m_buffer.size() - m_position >= MaxLineBytes)
            break;
        scanned = m_buffer.size();
        if (!Fill())
            break;
    }
    if (m_readError || (newline < 0 && m_buffer.size() == m_position)) {
        m_reachedEnd = true;
        return std::nullopt;
    }

    const QByteArrayView pending = QByteArrayView(m_buffer).sliced(m_position);
    if (newline >= 0 && newline - m_position <= MaxLineBytes) {
        QByteArrayView bytes = pending.first(newline - m_position);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QString line = TCodePage1252::Decode(bytes);
        m_position = newline + 1;
        return line;
    }
    if (pending.size() <= MaxLineBytes) {
        // The last line, without a line end.
        QString line = TCodePage1252::Decode(pending);
        m_position = m_buffer.size();
        return line;
    }
    QString line = TCodePage1252::Decode(pending.first(MaxLineBytes));
    m_position += MaxLineBytes;
    SkipRestOfLine();
    return line;
}
