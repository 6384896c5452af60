#pragma once

#include "cli/commandsyntax.h"

/**
 * The import, append and export commands: delimited text in and out, as
 * the editor's commands do it. The questions of the counting pass and of
 * the fit check are printed to standard error and answered OK, or Cancel
 * with --strict (exit status 1, nothing written).
 */
namespace TextCommand {

/// `import IN OUT.pdb [--separator S] [--encoding E] [--strict]`
const CommandSyntax &importSyntax();
/// `append DB IN OUT.pdb [--separator S] [--encoding E] [--strict]
/// [--password PW | --password-file F]`
const CommandSyntax &appendSyntax();
/// `export DB OUT [--separator S] [--encoding E] [--filter simple|advanced]
/// [--begins] [--exclude] [--password PW | --password-file F]`
const CommandSyntax &exportSyntax();

} // namespace TextCommand
