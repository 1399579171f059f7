#pragma once

#include "devicelink/serialerror.h"
#include "devicelink/serialportaccess.h"

#include <QByteArray>
#include <QList>
#include <deque>
#include <optional>

// A serial port a test drives: it records what is written, fails opens and writes on request, and
// delivers received bytes through the data-available handler as one notification per Deliver call.
class TFakeSerialPort : public TSerialPortAccess
{
public:
    quint16 PortNumber = 0;
    quint16 BaudRate = 0;
    TParity Parity = pNone;
    quint16 DataBits = 0;
    quint16 StopBits = 0;

    bool Open = false;
    int Opens = 0;
    // Thrown by every open while set.
    std::optional<TSerialError> OpenError;
    int Free = BufferSize;
    bool Dsr = false;
    // Each complete write, in order.
    QList<QByteArray> Written;
    // When each write was made, by Now (if set).
    QList<qint64> WrittenAt;
    std::function<qint64()> Now;
    // The next writes fail with these, one each; WriteErrorAlways fails every write while set.
    std::deque<TSerialError::TKind> WriteErrors;
    std::optional<TSerialError::TKind> WriteErrorAlways;

    // Queues bytes as received and announces all that wait in one notification.
    void Deliver(QByteArrayView bytes);
    // Queues bytes without announcing them.
    void Receive(QByteArrayView bytes) { m_received.append(bytes); }
    qsizetype Waiting() const { return m_received.size() - m_readPosition; }

    void SetPortNumber(quint16 number) override { PortNumber = number; }
    void SetBaudRate(quint16 rate) override { BaudRate = rate; }
    void SetParity(TParity parity) override { Parity = parity; }
    void SetDataBits(quint16 bits) override { DataBits = bits; }
    void SetStopBits(quint16 bits) override { StopBits = bits; }
    void OpenPort(bool open) override;
    bool IsOpen() const override { return Open; }
    int OutputFree() const override { return Open ? Free : BufferSize; }
    bool DsrOn() const override { return Open && Dsr; }
    void WriteText(QByteArrayView text) override;
    char ReadChar() override;
    void SetDataAvailableHandler(std::function<void(int count)> handler) override
    {
        m_handler = std::move(handler);
    }

private:
    std::function<void(int count)> m_handler;
    QByteArray m_received;
    qsizetype m_readPosition = 0;
};
