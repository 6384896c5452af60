#pragma once

#include "rules/shell/command.h"

#include <functional>

class QAction;
class QFont;
class QMenu;
class QString;

/**
 * What the bindings of the menus' commands ask of the window that shows
 * them, beside the engine's services (EngineServices) and the grid: the
 * binding itself, the commands' states, and the window's own state (the
 * program font, whether a database is open, auto-sizing's check mark, the
 * status bar, the context menu). The main window implements it.
 */
class CommandHost
{
public:
    virtual ~CommandHost() = default;

    /// Runs @p handler for @p command from its menu item, toolbar button,
    /// shortcut and context-menu entry; a command nobody binds stays
    /// disabled.
    virtual void bindCommand(Command command, std::function<void()> handler) = 0;
    /// The menu item and toolbar button of @p command (its shortcuts,
    /// check mark and hint).
    virtual QAction *action(Command command) const = 0;
    /// Re-evaluates which commands may be used now.
    virtual void updateCommandStates() = 0;
    /// Refreshes caption, status panels and the paste commands.
    virtual void UpdateStatus() = 0;
    /// Says in the status bar, for a few seconds, what a long command did
    /// (ClosingWord).
    virtual void showClosingWord(const QString &text) = 0;

    virtual bool isDatabaseOpen() const = 0;
    /// The font of the grid and of the dialogs' edit boxes.
    virtual const QFont &programFont() const = 0;
    /// The grid, the dialogs' edit boxes and the width scale follow the
    /// program font.
    virtual void ApplyProgramFont() = 0;
    /// Sizes the field columns to their texts, or gives their widths back;
    /// the command's check mark follows.
    virtual void AutoSizeColumns(bool on) = 0;
    /// The grid's context menu as it shows for the current cell.
    virtual QMenu *contextMenu() = 0;
};
