#pragma once

#include "core/platform/userfeedback.h"

/// The desktop's beep and the hourglass cursor.
class QtUserFeedback : public UserFeedback
{
public:
    ~QtUserFeedback() override;

    void beep() override;
    void setBusy(bool on) override;

private:
    bool mBusy = false;
};
