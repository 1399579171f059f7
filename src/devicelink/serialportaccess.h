#pragma once

#include "common/stationtypes.h"

#include <QByteArrayView>
#include <functional>

// The serial line as the port manager sees it. Settings are held and applied when the port opens (at
// once on an open port). Every call comes from the UI thread, and the data-available handler is called
// there too, one notification at a time.
class TSerialPortAccess
{
public:
    // The size of the input and output buffers; OutputFree reports it while the port is closed.
    static constexpr int BufferSize = 4096;

    virtual ~TSerialPortAccess() = default;

    // 0 means none chosen: opening then asks the operator. On an open port the port is closed and the
    // new one opened, keeping the data-available handler.
    virtual void SetPortNumber(quint16 number) = 0;
    virtual void SetBaudRate(quint16 rate) = 0;
    virtual void SetParity(TParity parity) = 0;
    virtual void SetDataBits(quint16 bits) = 0;
    virtual void SetStopBits(quint16 bits) = 0;

    // Opens or closes; asking for the present state does nothing. Throws TSerialError when the port
    // cannot be opened (it then stays closed).
    virtual void OpenPort(bool open) = 0;
    virtual bool IsOpen() const = 0;
    // Free bytes in the output buffer; BufferSize while closed.
    virtual int OutputFree() const = 0;
    // The DSR modem line; false while closed.
    virtual bool DsrOn() const = 0;
    // Queues every byte of text and returns without waiting for them to go out. Throws TSerialError of
    // kind PutBlockFailure, OutputBufferTooSmall, PortNotOpen, NoPortSelected, or any other kind.
    virtual void WriteText(QByteArrayView text) = 0;
    // The oldest received byte. Throws TSerialError when none is waiting (or the port is closed).
    virtual char ReadChar() = 0;
    // count is the number of received bytes waiting when the notification was made.
    virtual void SetDataAvailableHandler(std::function<void(int count)> handler) = 0;
};
