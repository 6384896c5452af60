#pragma once

#include <QDateTime>

/// The current date and time, behind an interface so that tests can fix it.
class Clock
{
public:
    virtual ~Clock() = default;

    /// The local wall-clock time, held in a UTC QDateTime so that no
    /// time-zone rule shifts it (the way database dates are kept).
    virtual QDateTime now() = 0;
};
