#pragma once

class TMainForm;

/// "Pr&operties..." (F3, the toolbar, the grid's context menu): the
/// Properties dialog for the current column's field.
namespace PropertiesBindings {

void bind(TMainForm &form);

} // namespace PropertiesBindings
