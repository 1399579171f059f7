#include "devicelink/qtenginetimer.h"

#include <QtDebug>
#include <exception>

TQtEngineTimer::TQtEngineTimer() : m_timer(m_ownTimer)
{
    Connect();
}

TQtEngineTimer::TQtEngineTimer(QTimer &timer) : m_timer(timer)
{
    Connect();
}

void TQtEngineTimer::Connect()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_ownTimer, [this] {
        if (!m_handler)
            return;
        try {
            const std::function<void()> handler = m_handler;
            handler();
        } catch (const std::exception &error) {
            // The event loop must not see it; the operator does, when a report is set.
            if (m_errorReport)
                m_errorReport(QString::fromUtf8(error.what()));
            else
                qCritical("Error in a timer tick: %s", error.what());
        }
    });
}

void TQtEngineTimer::SetInterval(int milliseconds)
{
    m_timer.setInterval(std::max(0, milliseconds));
    if (m_timer.interval() == 0)
        m_timer.stop();
    else if (m_enabled && !m_timer.isActive())
        m_timer.start();
}

void TQtEngineTimer::Start()
{
    m_enabled = true;
    if (m_timer.interval() > 0 && !m_timer.isActive())
        m_timer.start();
}

void TQtEngineTimer::Stop()
{
    m_enabled = false;
    m_timer.stop();
}

void TQtEngineTimer::SetTimeoutHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}
