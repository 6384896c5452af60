#pragma once

#include "core/platform/clipboard.h"

/// A clipboard that is a string.
class MemoryClipboard : public Clipboard
{
public:
    QString text() const override { return contents; }
    void setText(const QString &text) override { contents = text; }

    QString contents;
};
