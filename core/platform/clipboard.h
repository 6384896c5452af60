#pragma once

#include <QString>

/**
 * The system clipboard's plain text. The editor implements it with the
 * desktop's clipboard, tests with a string of their own.
 */
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    /// The clipboard's text; empty when it holds none.
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};
