#pragma once

#include "devicelink/enginetimer.h"

#include <QtGlobal>
#include <vector>

class TFakeClock;

// A timer on a TFakeClock: it fires only while the test advances the clock.
class TFakeTimer : public TEngineTimer
{
public:
    explicit TFakeTimer(TFakeClock &clock);
    ~TFakeTimer() override;

    void SetInterval(int milliseconds) override;
    void Start() override;
    void Stop() override { m_active = false; }
    bool IsActive() const override { return m_active; }
    void SetTimeoutHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    int Interval() const { return m_interval; }

private:
    friend class TFakeClock;

    TFakeClock &m_clock;
    std::function<void()> m_handler;
    int m_interval = 0;
    bool m_active = false;
    qint64 m_due = 0;
};

// Test time in milliseconds. Advancing fires every due tick in time order (timers due together fire
// in the order they were made).
class TFakeClock
{
public:
    qint64 Now() const { return m_now; }
    void Advance(qint64 milliseconds) { AdvanceTo(m_now + milliseconds); }
    void AdvanceTo(qint64 time);

private:
    friend class TFakeTimer;

    qint64 m_now = 0;
    std::vector<TFakeTimer *> m_timers;
};
