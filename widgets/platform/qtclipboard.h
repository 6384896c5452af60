#pragma once

#include "core/platform/clipboard.h"

/// The desktop's clipboard, as plain text.
class QtClipboard : public Clipboard
{
public:
    QString text() const override;
    void setText(const QString &text) override;
};
