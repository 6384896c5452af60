#pragma once

#include "cli/commandsyntax.h"

/**
 * The print command: the database's pages as a PDF file, laid out as the
 * editor's Export as PDF lays them out, in the editor's default program
 * font. It paints through Qt Gui on the offscreen platform, so it needs no
 * display; main() makes the application object for it.
 */
namespace PrintCommand {

/// The command's name, for main() to know it before making the
/// application object.
inline constexpr char Name[] = "print";

/// `print DB OUT.pdf [--page-size a4|letter] [--password PW |
/// --password-file PWFILE]`.
const CommandSyntax &syntax();
/// Runs the command on @p line: prints the number of pages and returns
/// the exit status.
int run(CommandLine &line);

} // namespace PrintCommand
