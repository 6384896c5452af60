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

bool use(const QStringList &names, QString *error)
{
    for (const QString &name : names) {
        const QLocale locale(name);
        // QLocale takes a name it does not know for the C locale.
        if (locale.language() == QLocale::C && name != QLatin1String("C")) {
            *error = QStringLiteral("unknown locale: ") + name;
            return false;
        }
        chosen() = locale;
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
