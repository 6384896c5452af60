#pragma once

#include "core/platform/clock.h"

/// A clock that always tells the same time.
class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &time = QDateTime(QDate(2026, 12, 8), QTime(10, 30, 15),
                                                          Qt::UTC))
        : time(time)
    {
    }
    QDateTime now() override { return time; }

    QDateTime time;
};
