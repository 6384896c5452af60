#pragma once

#include "core/platform/progress.h"

/// Progress that the user cancels at its @p at-th report (0: never); it
/// counts the reports and keeps the permille of the last.
class CancellingProgress : public Progress
{
public:
    void start(const QString &) override {}
    bool advance(int permille) override
    {
        last = permille;
        return ++reports != at;
    }
    void finish() override {}

    int at = 0;
    int reports = 0;
    int last = 0;
};
