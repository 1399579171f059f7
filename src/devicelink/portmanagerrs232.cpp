#include "devicelink/portmanagerrs232.h"

#include "common/globalprocedures.h"
#include "devicelink/enginetimer.h"
#include "devicelink/serialportaccess.h"

#include <QtDebug>

namespace {

using TSetting = TPortManagerDisplay::TSetting;

QString TriesText(quint16 tries)
{
    return QStringLiteral("#%1").arg(tries == 0 ? 1 : tries);
}

} // namespace

TPortManagerRS232::TPortManagerRS232(std::unique_ptr<TSerialPortAccess> port,
                                     std::unique_ptr<TEngineTimer> transmitTimer,
                                     std::unique_ptr<TEngineTimer> receiveTimer)
    : m_port(std::move(port)), m_transmitTimer(std::move(transmitTimer)),
      m_receiveTimer(std::move(receiveTimer))
{
    m_port->SetPortNumber(m_portNumber);
    m_port->SetBaudRate(m_baudRate);
    m_port->SetDataBits(m_dataBits);
    m_port->SetStopBits(m_stopBits);
    m_port->SetParity(m_parity);
    m_port->SetDataAvailableHandler([this](int count) { DataAvailable(count); });

    m_transmitTimer->Stop();
    m_transmitTimer->SetInterval(m_tTimeout);
    m_transmitTimer->SetTimeoutHandler([this] { TransmitTimerTick(); });
    m_receiveTimer->Stop();
    m_receiveTimer->SetInterval(m_rTimeout);
    m_receiveTimer->SetTimeoutHandler([this] { ReceiveTimedOut(); });

    SetBusy(false);
}

TPortManagerRS232::~TPortManagerRS232()
{
    m_transmitTimer->Stop();
    m_receiveTimer->Stop();
    m_transmitTimer->SetTimeoutHandler({});
    m_receiveTimer->SetTimeoutHandler({});
    m_port->SetDataAvailableHandler({});
    try {
        m_port->OpenPort(false);
    } catch (const TSerialError &) {
        // Closing never fails in practice, and a destructor has nobody to tell.
    }
}

void TPortManagerRS232::SetDisplay(TPortManagerDisplay *display)
{
    m_display = display;
    if (!m_display)
        return;
    for (int row = 0; row <= int(TSetting::MaxReceiveAttempts); ++row)
        ShowSetting(TSetting(row));
    m_display->ShowCommand(m_command);
    m_display->ShowReply(m_reply);
    m_display->ShowErrorText(m_errorText);
    ShowTries();
    m_display->ShowBusy(m_busy);
    ShowConnectionState();
}

void TPortManagerRS232::SetPortNumber(quint16 number)
{
    m_portNumber = number;
    ShowSetting(TSetting::PortNumber);
    m_port->SetPortNumber(number);
}

void TPortManagerRS232::SetBaudRate(quint16 rate)
{
    m_baudRate = rate;
    ShowSetting(TSetting::BaudRate);
    m_port->SetBaudRate(rate);
}

void TPortManagerRS232::SetParity(TParity parity)
{
    m_parity = parity;
    ShowSetting(TSetting::Parity);
    m_port->SetParity(parity);
}

void TPortManagerRS232::SetDataBits(quint16 bits)
{
    m_dataBits = bits;
    ShowSetting(TSetting::DataBits);
    m_port->SetDataBits(bits);
}

void TPortManagerRS232::SetStopBits(quint16 bits)
{
    m_stopBits = bits;
    ShowSetting(TSetting::StopBits);
    m_port->SetStopBits(bits);
}

void TPortManagerRS232::SetTTimeout(quint16 milliseconds)
{
    m_tTimeout = milliseconds;
    m_transmitTimer->SetInterval(milliseconds);
    ShowSetting(TSetting::TTimeout);
}

void TPortManagerRS232::SetRTimeout(quint16 milliseconds)
{
    m_rTimeout = milliseconds;
    m_receiveTimer->SetInterval(milliseconds);
    ShowSetting(TSetting::RTimeout);
}

void TPortManagerRS232::SetMaxTransmitAttempts(quint16 attempts)
{
    m_maxTransmitAttempts = attempts;
    ShowSetting(TSetting::MaxTransmitAttempts);
}

void TPortManagerRS232::SetMaxReceiveAttempts(quint16 attempts)
{
    m_maxReceiveAttempts = attempts;
    ShowSetting(TSetting::MaxReceiveAttempts);
}

void TPortManagerRS232::SetReceiveEndSequence(const QByteArray &sequence)
{
    m_receiveEndSequence = sequence;
    // The running count must stay what a count over the whole buffer would give.
    m_endSequencesSeen = m_discarding ? 0 : CountOccurrences(sequence, m_receiveBuffer);
}

void TPortManagerRS232::SetPortOpen(bool open)
{
    m_portOpen = open;
    m_port->OpenPort(open);
}

void TPortManagerRS232::SetCommand(const QByteArray &command)
{
    if (m_busy)
        return;
    SetBusy(true);
    m_transmitTries = 0;
    m_receiveTries = 1;
    ShowTries();
    SetErrorText({});
    m_command = command;
    // The box shows the command in force even when the port then fails to open.
    if (m_display)
        m_display->ShowCommand(m_command);
    BeginFromCaller();
}

void TPortManagerRS232::SendTestCommand(const QByteArray &text)
{
    if (!m_port->IsOpen())
        SetPortOpen(true);
    if (m_busy)
        return;
    SetBusy(true);
    m_transmitTries = 1;
    m_receiveTries = 1;
    ShowTries();
    SetErrorText({});
    m_command = text;
    if (m_display)
        m_display->ShowCommand(m_command);
    ShowTransmitArrow(TArrowColour::Grey);
    ShowReceiveArrow(TArrowColour::Grey);
    BeginFromCaller();
}

QString TPortManagerRS232::ParityName(TParity parity)
{
    switch (parity) {
    case pNone:
        return QStringLiteral("None");
    case pOdd:
        return QStringLiteral("Odd");
    case pEven:
        return QStringLiteral("Even");
    case pMark:
        return QStringLiteral("Mark");
    case pSpace:
        return QStringLiteral("Space");
    }
    return QStringLiteral("Unknown");
}

QString TPortManagerRS232::SettingText(TSetting row) const
{
    switch (row) {
    case TSetting::PortNumber:
        return QString::number(m_portNumber);
    case TSetting::BaudRate:
        return QString::number(m_baudRate);
    case TSetting::Parity:
        return ParityName(m_parity);
    case TSetting::DataBits:
        return QString::number(m_dataBits);
    case TSetting::StopBits:
        return QString::number(m_stopBits);
    case TSetting::TTimeout:
        return QString::number(m_tTimeout);
    case TSetting::RTimeout:
        return QString::number(m_rTimeout);
    case TSetting::MaxTransmitAttempts:
        return QString::number(m_maxTransmitAttempts);
    case TSetting::MaxReceiveAttempts:
        return QString::number(m_maxReceiveAttempts);
    }
    return {};
}

TPortManagerDisplay::TConnectionPicture TPortManagerRS232::ConnectionPicture() const
{
    using TPicture = TPortManagerDisplay::TConnectionPicture;
    if (!m_useDsr)
        return TPicture::PossibleConnection;
    return m_port->DsrOn() ? TPicture::Connection : TPicture::NoConnection;
}

void TPortManagerRS232::SetBusy(bool busy)
{
    m_busy = busy;
    if (m_display)
        m_display->ShowBusy(busy);
}

void TPortManagerRS232::SetErrorText(const QByteArray &text)
{
    m_errorText = text;
    if (m_display)
        m_display->ShowErrorText(text);
}

void TPortManagerRS232::ShowTries()
{
    if (!m_display)
        return;
    m_display->ShowTransmitTries(TriesText(m_transmitTries));
    m_display->ShowReceiveTries(TriesText(m_receiveTries));
}

void TPortManagerRS232::ShowSetting(TSetting row)
{
    if (m_display)
        m_display->ShowSetting(row, SettingText(row));
}

void TPortManagerRS232::ShowTransmitArrow(TArrowColour colour)
{
    if (m_display)
        m_display->ShowTransmitArrow(colour);
}

void TPortManagerRS232::ShowReceiveArrow(TArrowColour colour)
{
    if (m_display)
        m_display->ShowReceiveArrow(colour);
}

void TPortManagerRS232::ShowConnectionState()
{
    if (m_display)
        m_display->ShowConnectionState(ConnectionPicture());
}

void TPortManagerRS232::BeginFromCaller()
{
    ++m_transaction;
    if (!m_port->IsOpen()) {
        try {
            SetPortOpen(true);
        } catch (const TSerialError &error) {
            // The caller hears of it; the manager must not stay Busy, or every later command would be
            // ignored after the operator has put the line right.
            m_transmitTimer->Stop();
            m_receiveTimer->Stop();
            SetErrorText(error.what());
            SetBusy(false);
            throw;
        }
    }
    StartAttempt();
}

void TPortManagerRS232::StartAttempt()
{
    if (!m_port->IsOpen())
        SetPortOpen(true);

    const QByteArray framed = m_command + m_transmitEndSequence;
    if (m_port->OutputFree() < framed.size()) {
        TransmitFailed(TTransmitFailure::BufferSize);
        return;
    }

    if (m_display) {
        m_display->ShowCommand(m_command);
        m_display->ShowReply({});
    }
    SetErrorText({});
    m_reply.clear();
    ShowConnectionState();

    if (m_useDsr) {
        if (!m_port->DsrOn()) {
            TransmitFailed(TTransmitFailure::DsrDown);
            return;
        }
        m_transmitTries = 0;
        ShowTries();
    }

    m_receiveBuffer.clear();
    m_endSequencesSeen = 0;
    m_discarding = false;
    m_transmitTimer->Stop();
    m_transmitTries = 0;
    ShowTries();
    m_receiveTimer->Start();
    ShowTransmitArrow(TArrowColour::Lime);

    try {
        m_port->WriteText(framed);
    } catch (const TSerialError &error) {
        switch (error.Kind()) {
        case TSerialError::TKind::PutBlockFailure:
            TransmitFailed(TTransmitFailure::BlockFail);
            return;
        case TSerialError::TKind::OutputBufferTooSmall:
            TransmitFailed(TTransmitFailure::BufferSize);
            return;
        case TSerialError::TKind::PortNotOpen:
        case TSerialError::TKind::NoPortSelected:
            TransmitFailed(TTransmitFailure::BadHandle);
            return;
        default:
            throw;
        }
    }
}

void TPortManagerRS232::TransmitFailed(TTransmitFailure kind, const QByteArray &text)
{
    struct TShown
    {
        TArrowColour colour;
        const char *text;
    };
    static constexpr TShown shown[] = {
        {TArrowColour::Aqua, "T: Block Fail"},
        {TArrowColour::Fuchsia, "T: Buffer Size"},
        {TArrowColour::Blue, "T: Bad Handle"},
        {TArrowColour::Yellow, "T: DSR down"},
    };
    const TShown &failure = shown[int(kind)];
    const QByteArray message = text.isEmpty() ? QByteArray(failure.text) : text;

    m_transmitTimer->Start();
    if (m_transmitTries >= m_maxTransmitAttempts) {
        m_transmitTimer->Stop();
        m_receiveTimer->Stop();
        ShowTransmitArrow(TArrowColour::Red);
        ShowReceiveArrow(TArrowColour::Red);
        SetErrorText(message);
        GiveUp(message, false);
        return;
    }
    ShowTransmitArrow(failure.colour);
    SetErrorText(message);
    ++m_transmitTries;
    ShowTries();
}

void TPortManagerRS232::AttemptFromTimer(bool &opened)
{
    opened = true;
    try {
        if (!m_port->IsOpen()) {
            try {
                SetPortOpen(true);
            } catch (const TSerialError &error) {
                // Counted as a transmit failure, so that a port that stays away ends the transaction.
                opened = false;
                if (m_errorReport)
                    m_errorReport(error);
                else
                    qWarning("%s", error.what());
                TransmitFailed(TTransmitFailure::BadHandle, QByteArray("T: ") + error.what());
                return;
            }
        }
        StartAttempt();
    } catch (const TSerialError &error) {
        if (m_errorReport)
            m_errorReport(error);
        else
            qWarning("%s", error.what());
    }
}

void TPortManagerRS232::TransmitTimerTick()
{
    if (!m_busy) {
        m_transmitTimer->Stop();
        return;
    }
    bool opened = true;
    AttemptFromTimer(opened);
}

void TPortManagerRS232::ReceiveTimedOut()
{
    if (!m_busy) {
        m_receiveTimer->Stop();
        return;
    }
    if (m_receiveTries < m_maxReceiveAttempts) {
        const quint64 transaction = m_transaction;
        ShowReceiveArrow(TArrowColour::Yellow);
        bool opened = true;
        AttemptFromTimer(opened);
        if (transaction != m_transaction || !m_busy)
            return;
        if (opened)
            SetErrorText("R: No Reply");
        ++m_receiveTries;
        ShowTries();
        return;
    }
    m_receiveTimer->Stop();
    m_transmitTimer->Stop();
    ShowReceiveArrow(TArrowColour::Red);
    GiveUp(m_errorText.isEmpty() ? QByteArray("R: No Reply") : m_errorText, true);
}

void TPortManagerRS232::GiveUp(const QByteArray &failText, bool busyDuringOnFail)
{
    m_failText = failText;
    if (!busyDuringOnFail) {
        m_reply.clear();
        SetBusy(false);
    }
    // A receive give-up runs OnFail while still Busy, so a Command written there is ignored.
    if (m_onFail) {
        const TNotify handler = m_onFail;
        handler(*this);
    }
    if (busyDuringOnFail)
        SetBusy(false);
}

void TPortManagerRS232::DataAvailable(int count)
{
    for (int i = 0; i < count; ++i) {
        char byte = 0;
        try {
            byte = m_port->ReadChar();
        } catch (const TSerialError &) {
            continue;
        }
        TakeByte(byte);
    }
}

void TPortManagerRS232::TakeByte(char byte)
{
    m_receiveBuffer.append(byte);
    const QByteArray &sequence = m_receiveEndSequence;
    // Only an occurrence that ends with this byte is new, so counting it keeps the count equal to a
    // count over the whole buffer at constant cost per byte.
    const bool completesSequence = !sequence.isEmpty() && m_receiveBuffer.endsWith(sequence);
    const auto keepTail = [&] {
        const qsizetype keep = std::max<qsizetype>(0, sequence.size() - 1);
        if (m_receiveBuffer.size() > keep)
            m_receiveBuffer.remove(0, m_receiveBuffer.size() - keep);
    };

    if (m_discarding) {
        if (completesSequence) {
            m_discarding = false;
            m_receiveBuffer.clear();
            m_endSequencesSeen = 0;
        } else {
            keepTail();
        }
        return;
    }

    if (completesSequence)
        ++m_endSequencesSeen;
    // "At least": a change of the end sequence or of their number while a reply comes in can leave
    // more end sequences in the buffer than are now needed.
    if (m_endSequencesSeen >= m_numberOfReceiveEndSequences) {
        CompleteReply();
        return;
    }
    if (m_receiveBuffer.size() >= MaxReceiveBuffer) {
        // A device talking without end sequences: drop what came and wait for the next end sequence.
        SetErrorText("R: Buffer Overflow");
        m_discarding = true;
        m_endSequencesSeen = 0;
        keepTail();
    }
}

void TPortManagerRS232::CompleteReply()
{
    ShowReceiveArrow(TArrowColour::Lime);
    ShowConnectionState();
    m_reply = RemoveAll(m_receiveEndSequence, m_receiveBuffer);
    if (m_display)
        m_display->ShowReply(m_reply);
    // The transaction ends here, and with it every retry it had scheduled.
    m_receiveTimer->Stop();
    m_transmitTimer->Stop();
    m_receiveBuffer.clear();
    m_endSequencesSeen = 0;
    SetBusy(false);
    SetErrorText({});
    if (m_onSuccess) {
        const TNotify handler = m_onSuccess;
        handler(*this);
    }
}
