#pragma once

#include "core/format/codepage.h"

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

    /// The width of the text that @p size bytes hold as the file stores
    /// them (the code page's bytes, a LF for a CR LF): the same as
    /// textWidth() of their characters. A measurer that can answer from
    /// the bytes, without making the text, does so.
    virtual int storedWidth(const char *bytes, qsizetype size) const
    {
        return textWidth(Codepage::decodeStored(bytes, size));
    }
};
