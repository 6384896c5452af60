#pragma once

#include "rules/shell/command.h"

#include <QList>
#include <QMenu>
#include <QPair>
#include <QStringList>

#include <functional>
#include <optional>

/**
 * The grid's context menu: "Insert Popup Item" with the current popup
 * field's items, then the entries of the command table, each of which runs
 * the main window's action for its command (and shows that action's state).
 */
class GridContextMenu : public QMenu
{
    Q_OBJECT

public:
    /// @p mainAction gives the main window's action of a command.
    GridContextMenu(std::function<QAction *(Command)> mainAction, QWidget *parent);

    /// Lists @p items under "Insert Popup Item" (none: the entry is hidden)
    /// and enables each entry as its main action is.
    void refresh(const std::optional<QStringList> &items);

    /// The "Insert Popup Item" submenu.
    QMenu *popupItemsMenu() const { return mPopupItems; }

signals:
    /// An item of the popup list was chosen; @p text is its whole text.
    void popupItemChosen(const QString &text);

private:
    std::function<QAction *(Command)> mMainAction;
    QMenu *mPopupItems;
    QList<QPair<Command, QAction *>> mEntries;
};
