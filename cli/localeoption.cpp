#include "cli/localeoption.h"

#include "core/platform/qt/qtlocaleservice.h"
#include "numbers/numberseparators.h"
#include "rules/settings/preferences.h"

namespace {

QLocale &chosen()
{
    static QLocale locale = QLocale::system();
    return locale;
}

} // namespace

namespace LocaleOption {

bool take(QStringList &arguments, QString *error)
{
    for (qsizetype i = 0; i < arguments.size();) {
        if (arguments[i] != QLatin1String("--locale")) {
            ++i;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("--locale needs a name, for example en_US");
            return false;
        }
        const QString name = arguments[i + 1];
        const QLocale locale(name);
        // QLocale takes a name it does not know for the C locale.
        if (locale.language() == QLocale::C && name != QLatin1String("C")) {
            *error = QStringLiteral("unknown locale: ") + name;
            return false;
        }
        chosen() = locale;
        arguments.remove(i, 2);
    }
    // The separators the editor starts with in that locale.
    const NumberSeparators system = QtLocaleService(chosen()).separators();
    NumberSeparators::setCurrent(Preferences::defaults(system).separatorsInForce(system));
    return true;
}

QLocale locale()
{
    return chosen();
}

} // namespace LocaleOption
