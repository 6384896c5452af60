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

/// Puts the locale of the last of @p names (the system's when there is
/// none) and its number separators in force. False, with the reason in
/// @p error, when one of them is no locale's name.
bool use(const QStringList &names, QString *error);

/// The locale of the run.
QLocale locale();

} // namespace LocaleOption
