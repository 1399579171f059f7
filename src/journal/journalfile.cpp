#include "journal/journalfile.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool SyncHandle(int handle)
{
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    return ::fdatasync(handle) == 0;
#endif
}

// A new file's name lives in its folder: the folder is synced once so that the name survives a power
// cut as well as the contents.
void SyncFolder(const QString &fileName)
{
#ifndef Q_OS_WIN
    const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
#else
    Q_UNUSED(fileName);
#endif
}

} // namespace

TJournalFile::~TJournalFile()
{
    Release();
}

QString TJournalFile::LockName(const QString &fileName)
{
    return fileName + QStringLiteral(".lock");
}

bool TJournalFile::IsInUse(const QString &fileName)
{
    QLockFile lock(LockName(fileName));
    // Only a living owner counts, however long ago it took the lock.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

bool TJournalFile::Create(const QString &fileName)
{
    Release();
    m_error.clear();
    auto lock = std::make_unique<QLockFile>(LockName(fileName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        m_error = QStringLiteral("cannot lock %1").arg(QDir::toNativeSeparators(LockName(fileName)));
        return false;
    }
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        return false;
    }
    m_lock = std::move(lock);
    SyncFolder(fileName);
    return true;
}

bool TJournalFile::Append(const QByteArray &bytes)
{
    if (!m_file.isOpen()) {
        m_error = QStringLiteral("the journal is not open");
        return false;
    }
    if (m_file.write(bytes) != bytes.size()) {
        m_error = m_file.errorString();
        return false;
    }
    if (!SyncHandle(m_file.handle())) {
        m_error = QStringLiteral("the disk did not take the journal");
        return false;
    }
    return true;
}

void TJournalFile::Remove()
{
    if (m_file.isOpen()) {
        m_file.close();
        m_file.remove();
    }
    Release();
}

void TJournalFile::Release()
{
    if (m_file.isOpen())
        m_file.close();
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}
