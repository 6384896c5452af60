#include "numbers/numberseparators.h"

#include <QLocale>
#include <QString>

namespace {

QChar firstOr(const QString &text, char16_t fallback)
{
    return text.isEmpty() ? QChar(fallback) : text.front();
}

NumberSeparators &currentStorage()
{
    static NumberSeparators separators = NumberSeparators::system();
    return separators;
}

} // namespace

NumberSeparators NumberSeparators::system()
{
    const QLocale locale = QLocale::system();
    return {firstOr(locale.decimalPoint(), u'.'), firstOr(locale.groupSeparator(), u',')};
}

NumberSeparators NumberSeparators::us()
{
    return {QChar(u'.'), QChar(u',')};
}

const NumberSeparators &NumberSeparators::current()
{
    return currentStorage();
}

void NumberSeparators::setCurrent(const NumberSeparators &separators)
{
    currentStorage() = separators;
}
