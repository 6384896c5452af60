#pragma once

#include <QString>

/**
 * Measures texts as the grid draws them, in the program's font. The shell
 * implements it with the font's metrics; tests give every character a
 * fixed width.
 */
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;

    /// The width in pixels of @p text on one line.
    virtual int textWidth(const QString &text) const = 0;
};
