#include "rules/shell/closingword.h"

#include "numbers/numberformat.h"

namespace ClosingWord {

namespace {

/// "1 record imported", "32,000 records imported"; @p noun may be empty.
QString counted(int count, const char *noun, const char *done)
{
    QString text = FormatCount(count);
    if (*noun) {
        text += QLatin1Char(' ') + QLatin1String(noun);
        if (count != 1)
            text += QLatin1Char('s');
    }
    return text + QLatin1Char(' ') + QLatin1String(done);
}

} // namespace

QString replaced(int count)
{
    return counted(count, "", "replaced");
}

QString imported(int records)
{
    return counted(records, "record", "imported");
}

QString appended(int records)
{
    return counted(records, "record", "appended");
}

QString sorted(int records)
{
    return counted(records, "record", "sorted");
}

QString filled(int cells)
{
    return counted(cells, "cell", "filled");
}

} // namespace ClosingWord
