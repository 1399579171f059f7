#include "files/linereader.h"

#include "files/codepage1252.h"

std::optional<QString> TLineReader::ReadLine()
{
    if (m_reachedEnd || m_device.atEnd()) {
        m_reachedEnd = true;
        return std::nullopt;
    }
    QByteArray bytes = m_device.readLine(MaxLineBytes);
    if (bytes.isEmpty()) {
        m_reachedEnd = true;
        m_readError = true;
        return std::nullopt;
    }
    if (bytes.endsWith('\n')) {
        bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
    } else {
        // Cut at MaxLineBytes: skip to the end of this line.
        while (!m_device.atEnd()) {
            const QByteArray rest = m_device.readLine(MaxLineBytes);
            if (rest.isEmpty() || rest.endsWith('\n'))
                break;
        }
    }
    return TCodePage1252::Decode(bytes);
}
