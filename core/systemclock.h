#pragma once

#include "core/clock.h"

/// The system's clock.
class SystemClock : public Clock
{
public:
    QDateTime now() override;
};
