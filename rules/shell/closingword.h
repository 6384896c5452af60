#pragma once

#include <QString>

/**
 * What a long command says in the status bar once it is done: how many
 * things it did ("57,541 replaced", "32,000 records imported"), the number
 * grouped by the program's thousands separator.
 */
namespace ClosingWord {

/// Replace All: the occurrences replaced.
QString replaced(int count);
/// Import: the records of the new database.
QString imported(int records);
/// Append: the records added.
QString appended(int records);
/// Sort normal and Sort reverse: the records put in order.
QString sorted(int records);
/// The fills: the cells that took the current cell's text.
QString filled(int cells);

} // namespace ClosingWord
