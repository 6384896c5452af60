#pragma once

#include <QString>

/**
 * Long work reports how far it has come, and learns whether the user
 * cancelled it. The editor shows a progress dialog once the work has run
 * half a second; the command-line tool and tests show nothing (or cancel
 * on cue). Work that is cancelled leaves everything as it was.
 */
class Progress
{
public:
    virtual ~Progress() = default;

    /// Work named @p label begins.
    virtual void start(const QString &label) = 0;
    /// @p permille of the work is done (0 to 1000); false when the user
    /// cancelled, after which the work stops without changing anything.
    virtual bool advance(int permille) = 0;
    /// The work is over, done or cancelled.
    virtual void finish() = 0;
};

/// Progress that nobody watches and nobody cancels.
class NoProgress : public Progress
{
public:
    void start(const QString &) override {}
    bool advance(int) override { return true; }
    void finish() override {}
};
