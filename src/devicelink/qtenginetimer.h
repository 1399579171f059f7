#pragma once

#include "devicelink/enginetimer.h"

#include <QTimer>

// TEngineTimer on a QTimer. Precise, because the reply timeout is counted against the device's
// answer time and a coarse timer may fire 5% early.
class TQtEngineTimer : public TEngineTimer
{
public:
    TQtEngineTimer();
    // Drives timer, which the caller owns and which must outlive this one (a window's named timer).
    explicit TQtEngineTimer(QTimer &timer);

    void SetInterval(int milliseconds) override;
    void Start() override;
    void Stop() override;
    bool IsActive() const override { return m_enabled; }
    void SetTimeoutHandler(std::function<void()> handler) override;
    // Where an error that escapes the timeout handler goes; without a report it is logged.
    void SetErrorReport(std::function<void(const QString &message)> report)
    {
        m_errorReport = std::move(report);
    }

private:
    void Connect();

    QTimer m_ownTimer;
    QTimer &m_timer;
    std::function<void()> m_handler;
    std::function<void(const QString &message)> m_errorReport;
    // Switched on, even when an interval of 0 keeps the QTimer from running.
    bool m_enabled = false;
};
