#include "benchdevice.h"

#include <QFile>
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

TBenchDevice::~TBenchDevice()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool TBenchDevice::Open(const QString &link)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return false;
    // Held open so that the line stays up while the station closes and reopens its side.
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
    QFile::remove(link);
    if (!QFile::link(QString::fromLocal8Bit(::ptsname(m_master)), link))
        return false;
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TBenchDevice::Read);
    m_clock.start();
    return true;
}

void TBenchDevice::Read()
{
    char bytes[256];
    const ssize_t count = ::read(m_master, bytes, sizeof bytes);
    for (ssize_t i = 0; i < count; ++i) {
        if (bytes[i] != '\r')
            continue;
        CommandTimes.push_back(m_clock.nsecsElapsed());
        const QByteArray reply = m_replyFor(++m_step);
        [[maybe_unused]] const ssize_t written = ::write(m_master, reply.constData(), size_t(reply.size()));
        LastReplyWritten = m_clock.nsecsElapsed();
        if (OnCommand)
            OnCommand();
    }
}
