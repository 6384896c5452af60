#pragma once

#include "rules/shell/command.h"

#include <QIcon>

/**
 * The program's own pictures for the toolbar and the menus, drawn on a
 * 16-pixel grid at 16 and 32 pixels. The desktop's theme icon is used
 * instead where the theme has one for the command.
 */
namespace ToolbarIcons {

/// The icon of @p command; null for a command without a picture.
QIcon icon(Command command);

/// The desktop theme's icon for @p command where the theme has one, else
/// our own.
QIcon commandIcon(Command command);

} // namespace ToolbarIcons
