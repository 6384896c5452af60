#pragma once

#include "core/platform/clock.h"

/// The system's clock.
class SystemClock : public Clock
{
public:
    QDateTime now() override;
};
