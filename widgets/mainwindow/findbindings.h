#pragma once

class TMainForm;

/// The Find, Find next and Replace commands of the Tools menu, with the
/// Find and Replace dialogs, created once and kept for the whole run.
namespace FindBindings {

void bind(TMainForm &form);

} // namespace FindBindings
