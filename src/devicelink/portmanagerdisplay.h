#pragma once

#include <QByteArray>
#include <QString>

// What the port manager shows while it works. The status panel draws it; the engine runs the same
// without one.
class TPortManagerDisplay
{
public:
    // The arrow colours (RGB) and what they mean: grey idle or a test command, lime sent or received,
    // yellow a retry, red given up, aqua a refused block, fuchsia no output space, blue no port, and
    // white, which the engine never asks for.
    enum class TArrowColour : quint32
    {
        Grey = 0x808080,
        Lime = 0x00ff00,
        Yellow = 0xffff00,
        Red = 0xff0000,
        Aqua = 0x00ffff,
        Fuchsia = 0xff00ff,
        Blue = 0x0000ff,
        White = 0xffffff,
    };

    enum class TConnectionPicture
    {
        None, // nothing drawn yet
        Connection,
        NoConnection,
        PossibleConnection, // the DSR line is not watched
    };

    // Rows of the settings grid.
    enum class TSetting
    {
        PortNumber,
        BaudRate,
        Parity,
        DataBits,
        StopBits,
        TTimeout,
        RTimeout,
        MaxTransmitAttempts,
        MaxReceiveAttempts,
    };

    virtual ~TPortManagerDisplay() = default;

    virtual void ShowTransmitArrow(TArrowColour colour) = 0;
    virtual void ShowReceiveArrow(TArrowColour colour) = 0;
    virtual void ShowConnectionState(TConnectionPicture picture) = 0;
    virtual void ShowCommand(const QByteArray &command) = 0;
    virtual void ShowReply(const QByteArray &reply) = 0;
    // "#1", "#2", ...
    virtual void ShowTransmitTries(const QString &text) = 0;
    virtual void ShowReceiveTries(const QString &text) = 0;
    virtual void ShowErrorText(const QByteArray &text) = 0;
    virtual void ShowBusy(bool busy) = 0;
    virtual void ShowSetting(TSetting row, const QString &value) = 0;
};
