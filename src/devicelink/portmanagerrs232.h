#pragma once

#include "common/stationtypes.h"
#include "devicelink/portmanagerdisplay.h"
#include "devicelink/serialerror.h"

#include <QByteArray>
#include <functional>
#include <memory>

class TEngineTimer;
class TSerialPortAccess;

// Runs one command-and-reply transaction at a time over a serial port. Writing Command sends it with
// TransmitEndSequence; the reply is collected until ReceiveEndSequence has arrived
// NumberOfReceiveEndSequences times, stored without its end sequences in Reply, and OnSuccess fires.
// With no reply within RTimeout the command is sent again, up to MaxReceiveAttempts transmissions in
// all; a line that is not ready (DSR watched and off, a refused write) is retried every TTimeout up to
// MaxTransmitAttempts. A transaction that is given up ends in OnFail with FailText set, exactly once.
//
// Everything runs on the UI thread: property writes, the two timers and the port's data notifications.
class TPortManagerRS232
{
public:
    using TNotify = std::function<void(TPortManagerRS232 &sender)>;
    using TErrorReport = std::function<void(const TSerialError &error)>;
    using TArrowColour = TPortManagerDisplay::TArrowColour;

    // A reply that grows beyond this without completing is dropped (ErrorText "R: Buffer Overflow").
    static constexpr qsizetype MaxReceiveBuffer = 64 * 1024;

    TPortManagerRS232(std::unique_ptr<TSerialPortAccess> port, std::unique_ptr<TEngineTimer> transmitTimer,
                      std::unique_ptr<TEngineTimer> receiveTimer);
    ~TPortManagerRS232();
    TPortManagerRS232(const TPortManagerRS232 &) = delete;
    TPortManagerRS232 &operator=(const TPortManagerRS232 &) = delete;

    // The display may be null; it is shown every setting at once.
    void SetDisplay(TPortManagerDisplay *display);
    TPortManagerDisplay *Display() const { return m_display; }

    void SetOnSuccess(TNotify handler) { m_onSuccess = std::move(handler); }
    void SetOnFail(TNotify handler) { m_onFail = std::move(handler); }
    // Where an error of opening goes when a timer tick runs into it (there is no caller to raise it
    // to). Without a handler it is logged; either way ErrorText shows it.
    void SetErrorReport(TErrorReport handler) { m_errorReport = std::move(handler); }

    quint16 PortNumber() const { return m_portNumber; }
    void SetPortNumber(quint16 number); // may throw TSerialError when an open port moves
    quint16 BaudRate() const { return m_baudRate; }
    void SetBaudRate(quint16 rate);
    TParity Parity() const { return m_parity; }
    void SetParity(TParity parity);
    quint16 DataBits() const { return m_dataBits; }
    void SetDataBits(quint16 bits);
    quint16 StopBits() const { return m_stopBits; }
    void SetStopBits(quint16 bits);
    quint16 TTimeout() const { return m_tTimeout; }
    void SetTTimeout(quint16 milliseconds);
    quint16 RTimeout() const { return m_rTimeout; }
    void SetRTimeout(quint16 milliseconds);
    quint16 MaxTransmitAttempts() const { return m_maxTransmitAttempts; }
    void SetMaxTransmitAttempts(quint16 attempts);
    quint16 MaxReceiveAttempts() const { return m_maxReceiveAttempts; }
    void SetMaxReceiveAttempts(quint16 attempts);
    bool UseDSR() const { return m_useDsr; }
    void SetUseDSR(bool use) { m_useDsr = use; }
    QByteArray TransmitEndSequence() const { return m_transmitEndSequence; }
    void SetTransmitEndSequence(const QByteArray &sequence) { m_transmitEndSequence = sequence; }
    QByteArray ReceiveEndSequence() const { return m_receiveEndSequence; }
    void SetReceiveEndSequence(const QByteArray &sequence);
    qint32 NumberOfReceiveEndSequences() const { return m_numberOfReceiveEndSequences; }
    void SetNumberOfReceiveEndSequences(qint32 count) { m_numberOfReceiveEndSequences = count; }

    // The last value written, which stays true when opening failed.
    bool PortOpen() const { return m_portOpen; }
    // Opens or closes the port; an error of opening is thrown to the caller.
    void SetPortOpen(bool open);

    QByteArray Command() const { return m_command; }
    // Starts a transaction with command; ignored while Busy. Opens the port when it is closed: an error
    // of opening is thrown, and the manager is Ready again.
    void SetCommand(const QByteArray &command);
    // The Send button: opens the port when closed (an error is thrown), then, unless Busy, sends text
    // as a test command.
    void SendTestCommand(const QByteArray &text);

    QByteArray Reply() const { return m_reply; }
    // The text of the failure that ended the last transaction given up.
    QByteArray FailText() const { return m_failText; }
    // The error shown for the transaction in progress; empty when all is well.
    QByteArray ErrorText() const { return m_errorText; }
    bool Busy() const { return m_busy; }
    // Bytes of the reply collected so far; never more than MaxReceiveBuffer.
    qsizetype ReceiveBufferSize() const { return m_receiveBuffer.size(); }
    quint16 TransmitTries() const { return m_transmitTries; }
    quint16 ReceiveTries() const { return m_receiveTries; }

    // The texts the settings grid shows.
    static QString ParityName(TParity parity);
    QString SettingText(TPortManagerDisplay::TSetting row) const;
    TPortManagerDisplay::TConnectionPicture ConnectionPicture() const;

private:
    enum class TTransmitFailure
    {
        BlockFail,
        BufferSize,
        BadHandle,
        DsrDown,
    };

    void SetBusy(bool busy);
    void SetErrorText(const QByteArray &text);
    void ShowTries();
    void ShowSetting(TPortManagerDisplay::TSetting row);
    void ShowTransmitArrow(TArrowColour colour);
    void ShowReceiveArrow(TArrowColour colour);
    void ShowConnectionState();

    void BeginFromCaller();
    void StartAttempt();
    void TransmitFailed(TTransmitFailure kind, const QByteArray &text = {});
    void TransmitTimerTick();
    void ReceiveTimedOut();
    void AttemptFromTimer(bool &opened);
    void DataAvailable(int count);
    void TakeByte(char byte);
    void CompleteReply();
    void GiveUp(const QByteArray &failText, bool busyDuringOnFail);

    std::unique_ptr<TSerialPortAccess> m_port;
    std::unique_ptr<TEngineTimer> m_transmitTimer;
    std::unique_ptr<TEngineTimer> m_receiveTimer;
    TPortManagerDisplay *m_display = nullptr;
    TNotify m_onSuccess;
    TNotify m_onFail;
    TErrorReport m_errorReport;

    quint16 m_portNumber = 1;
    bool m_portOpen = false;
    QByteArray m_command;
    QByteArray m_reply;
    QByteArray m_receiveBuffer;
    // End sequences in m_receiveBuffer, counted as each byte arrives.
    qint32 m_endSequencesSeen = 0;
    // After an overflow, bytes are dropped up to the next end sequence.
    bool m_discarding = false;
    quint16 m_baudRate = 9600;
    TParity m_parity = pNone;
    quint16 m_dataBits = 8;
    quint16 m_stopBits = 1;
    bool m_useDsr = false;
    quint16 m_tTimeout = 1000;
    quint16 m_rTimeout = 1000;
    bool m_busy = false;
    quint16 m_transmitTries = 1;
    quint16 m_receiveTries = 1;
    quint16 m_maxTransmitAttempts = 10;
    quint16 m_maxReceiveAttempts = 10;
    QByteArray m_failText;
    QByteArray m_errorText;
    QByteArray m_transmitEndSequence = "\r";
    QByteArray m_receiveEndSequence = "\r";
    qint32 m_numberOfReceiveEndSequences = 1;
    // Counts transactions, so that a step can tell the one it began in has ended under it.
    quint64 m_transaction = 0;
};
