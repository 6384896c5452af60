#pragma once

#include <QChar>

/**
 * The two characters that shape the text of a number: the decimal separator
 * and the thousands separator.
 *
 * One pair is current for the whole process. At start it is the system's;
 * the "USNumFormat" preference replaces it with us().
 */
struct NumberSeparators
{
    QChar decimal = u'.';
    QChar thousands = u',';

    /// The separators of the system locale; '.' or ',' for one it leaves empty.
    static NumberSeparators system();
    /// '.' as the decimal and ',' as the thousands separator.
    static NumberSeparators us();

    /// The process-wide pair; system() until setCurrent() is first called.
    static const NumberSeparators &current();
    /// Replaces the process-wide pair. Call it from the main thread, while no
    /// other thread reads or writes numbers.
    static void setCurrent(const NumberSeparators &separators);

    friend bool operator==(const NumberSeparators &, const NumberSeparators &) = default;
};
