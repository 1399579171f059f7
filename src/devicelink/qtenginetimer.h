#pragma once

#include "devicelink/enginetimer.h"

#include <QTimer>

// TEngineTimer on a QTimer. Precise, because the reply timeout is counted against the device's
// answer time and a coarse timer may fire 5% early.
class TQtEngineTimer : public TEngineTimer
{
public:
    TQtEngineTimer();

    void SetInterval(int milliseconds) override;
    void Start() override;
    void Stop() override;
    bool IsActive() const override { return m_enabled; }
    void SetTimeoutHandler(std::function<void()> handler) override;

private:
    QTimer m_timer;
    std::function<void()> m_handler;
    // Switched on, even when an interval of 0 keeps the QTimer from running.
    bool m_enabled = false;
};
