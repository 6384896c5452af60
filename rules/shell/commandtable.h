#pragma once

#include "rules/shell/command.h"

#include <QString>

#include <span>

/**
 * The main window's commands as the menus and the toolbar show them, and
 * when each may be used. The window builds its menus, toolbar and shortcuts
 * from these tables and asks isEnabled() whenever the state changes.
 */
namespace CommandTable {

/// One menu item: its menu (empty: the grid's context menu alone), caption
/// (with "&" before the access key), shortcut (QKeySequence text), toolbar
/// hint (empty: no button), and whether a separator follows it in its menu.
struct Entry
{
    Command command;
    const char *menu;
    const char *caption;
    const char *shortcut;
    const char *hint;
    bool separatorAfter;
    /// A submenu entry belongs to the entry above that has submenu set.
    bool submenu = false;
};

/// Every menu item in menu order ("&File", "&Edit", "&Tools", "&Help"). The
/// recent files stand after "Export as PD&F...", in their own separated group.
std::span<const Entry> menuEntries();

/// One entry of the grid's context menu; it runs the main menu's command.
struct ContextEntry
{
    Command command;
    const char *caption;
    const char *shortcut; ///< shown beside the caption
    bool separatorAfter;
    bool submenu = false;
};

/// The grid's context menu from its second entry down; the first, "Insert
/// Popup Item", lists the current popup field's items.
std::span<const ContextEntry> contextMenu();

/// The toolbar's buttons from left to right.
std::span<const Command> toolbar();

/// The caption of Undo or Redo for the edit it would take back or do
/// again, named by @p label ("typing"): "&Undo typing". Without a label
/// the entry's own caption.
QString undoCaption(Command command, const QString &label);

/// The entry of @p command (the first, for one shown in several places).
const Entry &entry(Command command);

/// What decides which commands may be used.
struct State
{
    bool open = false;     ///< a database is open
    bool readOnly = false; ///< it is read only
    bool clipboardText = false;
    bool canUndo = false; ///< the document has an edit to undo
    bool canRedo = false; ///< or to redo
    /// Undo or Redo would set or clear read-only, which a read-only
    /// database still lets the user do.
    bool undoSwitchesReadOnly = false;
    bool redoSwitchesReadOnly = false;
    bool changed = false; ///< it has unsaved changes
};

/// Whether @p command may be used in @p state.
bool isEnabled(Command command, const State &state);

/// Whether the toolbar button of @p command toggles (auto-sizing, filters).
bool isToggle(Command command);

} // namespace CommandTable
