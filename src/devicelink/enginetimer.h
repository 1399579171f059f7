#pragma once

#include <functional>

// A periodic timer of the port manager, driven by the UI thread's event loop. Start on a running timer
// keeps its phase; an interval of 0 never fires.
class TEngineTimer
{
public:
    virtual ~TEngineTimer() = default;

    virtual void SetInterval(int milliseconds) = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual void SetTimeoutHandler(std::function<void()> handler) = 0;
};
