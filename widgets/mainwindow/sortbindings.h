#pragma once

class TMainForm;

/// The Sort normal and Sort reverse commands of the Tools menu.
namespace SortBindings {

/// Binds both commands to @p form: the current column becomes the first
/// sort key, ascending or descending, and the records are sorted.
void bind(TMainForm &form);

/// The sort buttons' hints name the field they would sort by, the current
/// one.
void updateHints(TMainForm &form);

} // namespace SortBindings
