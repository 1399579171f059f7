#pragma once

#include <QString>
#include <stdexcept>

// An error of the serial layer. The port manager tells the write errors apart by Kind(); every other
// error (opening above all) reaches its caller with the layer's message.
class TSerialError : public std::runtime_error
{
public:
    enum class TKind
    {
        PutBlockFailure,      // the layer refused the bytes for a reason other than their number
        OutputBufferTooSmall, // the free output space is smaller than the text
        PortNotOpen,
        NoPortSelected, // port number 0 and no port chosen
        PortDoesNotExist,
        PortInUse,
        Other,
    };

    TSerialError(TKind kind, const QString &message);

    TKind Kind() const { return m_kind; }
    QString Message() const { return QString::fromUtf8(what()); }

private:
    TKind m_kind;
};
