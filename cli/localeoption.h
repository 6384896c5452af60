#pragma once

#include <QLocale>
#include <QStringList>

/**
 * `--locale NAME` (en_US, de_DE, ...), which every command takes: the
 * locale whose collation, short date and long time formats and number
 * separators the run uses, as the editor would by default in that locale.
 * Without it, the system's.
 */
namespace LocaleOption {

/// Takes every `--locale NAME` out of @p arguments and puts its number
/// separators in force. False, with the reason in @p error, for a missing
/// or unknown name.
bool take(QStringList &arguments, QString *error);

/// The locale of the run.
QLocale locale();

} // namespace LocaleOption
