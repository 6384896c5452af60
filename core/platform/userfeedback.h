#pragma once

/// The beep and the busy cursor.
class UserFeedback
{
public:
    virtual ~UserFeedback() = default;

    virtual void beep() = 0;
    /// Shows the hourglass cursor while @p on; calls do not nest.
    virtual void setBusy(bool on) = 0;
};
