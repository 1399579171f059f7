#include "fakeserialport.h"

void TFakeSerialPort::Deliver(QByteArrayView bytes)
{
    m_received.append(bytes);
    if (m_handler && Waiting() > 0)
        m_handler(int(Waiting()));
}

void TFakeSerialPort::OpenPort(bool open)
{
    if (open == Open)
        return;
    if (open) {
        if (OpenError)
            throw *OpenError;
        ++Opens;
    } else {
        m_received.clear();
        m_readPosition = 0;
    }
    Open = open;
}

void TFakeSerialPort::WriteText(QByteArrayView text)
{
    if (!Open)
        throw TSerialError(TSerialError::TKind::PortNotOpen, QStringLiteral("not open"));
    if (!WriteErrors.empty()) {
        const TSerialError::TKind kind = WriteErrors.front();
        WriteErrors.pop_front();
        throw TSerialError(kind, QStringLiteral("scripted write error"));
    }
    if (WriteErrorAlways)
        throw TSerialError(*WriteErrorAlways, QStringLiteral("scripted write error"));
    Written.append(text.toByteArray());
    WrittenAt.append(Now ? Now() : 0);
}

char TFakeSerialPort::ReadChar()
{
    if (!Open || Waiting() == 0)
        throw TSerialError(TSerialError::TKind::Other, QStringLiteral("nothing waiting"));
    const char byte = m_received.at(m_readPosition++);
    if (m_readPosition == m_received.size()) {
        m_received.clear();
        m_readPosition = 0;
    }
    return byte;
}
