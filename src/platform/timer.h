#pragma once

#include <functional>

// A window timer as the handlers use it: enabled or not, and a tick.
class Timer
{
public:
    virtual ~Timer() = default;
    // Enabling a running timer keeps its period going.
    virtual void setEnabled(bool enabled) = 0;

    std::function<void()> onTimer;
};
