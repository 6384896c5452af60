#pragma once

#include <QStringList>

/**
 * The import, append and export commands: delimited text in and out, as
 * the editor's commands do it. The questions of the counting pass and of
 * the fit check are printed to standard error and answered OK, or Cancel
 * with --strict (exit status 1, nothing written).
 */
namespace TextCommand {

/// `import IN OUT.pdb [--separator S] [--encoding E] [--strict]`
int runImport(const QStringList &arguments);
/// `append DB IN OUT.pdb [--separator S] [--encoding E] [--strict]
/// [--password PW | --password-file F]`
int runAppend(const QStringList &arguments);
/// `export DB OUT [--separator S] [--encoding E] [--filter simple|advanced]
/// [--begins] [--exclude] [--password PW | --password-file F]`
int runExport(const QStringList &arguments);

} // namespace TextCommand
