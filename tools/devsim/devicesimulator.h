#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>
#include <deque>
#include <map>

class QSocketNotifier;

// The measuring device on a pseudo-terminal: it answers the station's commands as the device does,
// moves along a path, signals recorded points and injects faults when told to.
class TDeviceSimulator : public QObject
{
    Q_OBJECT

public:
    // A position in thousandths of a millimetre, as the device counts.
    struct TCounts
    {
        int x = 0;
        int y = 0;
        int z = 0;
    };

    explicit TDeviceSimulator(QObject *parent = nullptr);
    ~TDeviceSimulator() override;

    // Opens the pseudo-terminal; false with the reason in error.
    bool Open(QString *error);
    QString DevicePath() const { return m_devicePath; }

    // One position per poll, in order, over and over; a single point stands still.
    void SetPath(const QList<TCounts> &path);
    // Every n-th position reply signals a recorded point (0: never).
    void SetRecordEvery(int polls) { m_recordEvery = polls; }
    // The device's time to start answering a command, in milliseconds.
    void SetLatency(int milliseconds) { m_latency = milliseconds; }
    // The latency timer of the USB side of the paced line, in milliseconds: what the line has brought
    // is handed over when it runs out, or when a 62-byte packet is full. 1 hands each millisecond's
    // bytes over as they come.
    void SetUsbLatency(int milliseconds) { m_usbLatency = milliseconds; }
    // Control lines to run just before the n-th command received is answered (n from 1).
    void SetScript(std::multimap<int, QString> script) { m_script = std::move(script); }
    void SetSeed(quint32 seed) { m_random.seed(seed); }

    // Runs one control line ("record", "silent on", "vanish 3", ...). Returns the answer to print:
    // "ok <line>" or "error <reason>".
    QString Control(const QString &line);
    static QString ControlHelp();

Q_SIGNALS:
    // The device has closed its line after a "vanish".
    void Vanished();

private:
    void ReadCommands();
    void Answer(const QByteArray &command);
    QByteArray Reply(const QByteArray &command);
    QByteArray PositionReply();
    void Send(const QByteArray &bytes, bool oneByteAtATime);
    void Drain();
    void Vanish();
    void CloseLine();

    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QSocketNotifier *m_reader = nullptr;
    QByteArray m_line;

    QList<TCounts> m_path{TCounts{}};
    qsizetype m_pathIndex = 0;
    TCounts m_offset;
    int m_polls = 0;
    int m_commands = 0;
    int m_replies = 0;
    int m_recordEvery = 0;
    std::multimap<int, QString> m_script;

    bool m_silent = false;
    bool m_truncate = false;
    bool m_garbage = false;
    bool m_split = false;
    bool m_badNumber = false;
    // Replies go out at 19200 baud after the latency; off, they are written at once, whole.
    bool m_lineTiming = true;
    int m_latency = 2;
    int m_usbLatency = 16;
    // The status character of the next position reply ("record" is '1'); 0 for none.
    char m_statusPending = 0;
    int m_vanishAt = -1; // reply count after which the line closes
    bool m_vanished = false;
    QRandomGenerator m_random{1};

    struct TChunk
    {
        QByteArray bytes;
        bool oneByteAtATime = false;
    };
    std::deque<TChunk> m_queue;
    QTimer m_writer;
    QElapsedTimer m_lineClock;
    qint64 m_lineBytesSent = 0;
    // The latency timer runs on from the start, whether or not anything is sent.
    QElapsedTimer m_usbClock;
    qint64 m_nextPacketAt = 0;
};
