#include "fakeclock.h"

#include <algorithm>

TFakeTimer::TFakeTimer(TFakeClock &clock) : m_clock(clock)
{
    m_clock.m_timers.push_back(this);
}

TFakeTimer::~TFakeTimer()
{
    std::erase(m_clock.m_timers, this);
}

void TFakeTimer::SetInterval(int milliseconds)
{
    m_interval = milliseconds;
    // As QTimer does: a running timer starts its period anew.
    m_due = m_clock.m_now + m_interval;
}

void TFakeTimer::Start()
{
    if (m_active)
        return;
    m_active = true;
    m_due = m_clock.m_now + m_interval;
}

void TFakeClock::AdvanceTo(qint64 time)
{
    while (true) {
        TFakeTimer *next = nullptr;
        for (TFakeTimer *timer : m_timers) {
            if (timer->m_active && timer->m_interval > 0 && timer->m_due <= time &&
                (!next || timer->m_due < next->m_due))
                next = timer;
        }
        if (!next)
            break;
        m_now = next->m_due;
        next->m_due += next->m_interval;
        if (next->m_handler)
            next->m_handler();
    }
    m_now = std::max(m_now, time);
}
