#pragma once

#include <QByteArray>
#include <QFile>
#include <QLockFile>
#include <QString>
#include <memory>

// The file one run journals into, held locked for as long as it exists so that another station
// started in the same folder leaves it alone. Every Append reaches the disk before it returns (fsync,
// or FlushFileBuffers on Windows), so what the station shows after it survives a crash or power cut.
class TJournalFile
{
public:
    TJournalFile() = default;
    TJournalFile(const TJournalFile &) = delete;
    TJournalFile &operator=(const TJournalFile &) = delete;
    ~TJournalFile();

    // Creates fileName (replacing nothing: an existing file is an error) and locks it. False with
    // ErrorString() when it cannot.
    bool Create(const QString &fileName);
    bool IsOpen() const { return m_file.isOpen(); }
    QString FileName() const { return m_file.fileName(); }
    // Writes bytes at the end and waits until the disk holds them.
    bool Append(const QByteArray &bytes);
    // Closes, unlocks and deletes the file.
    void Remove();
    // Closes and unlocks the file, leaving it where it is.
    void Release();
    QString ErrorString() const { return m_error; }

    // The lock file that marks fileName as in use.
    static QString LockName(const QString &fileName);
    // True when a running station holds fileName; a lock left by a process that has gone is stale
    // and does not count.
    static bool IsInUse(const QString &fileName);

private:
    QFile m_file;
    std::unique_ptr<QLockFile> m_lock;
    QString m_error;
};
