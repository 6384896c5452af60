#include "widgets/grid/gridcontextmenu.h"

#include "rules/shell/commandtable.h"

GridContextMenu::GridContextMenu(std::function<QAction *(Command)> mainAction, QWidget *parent)
    : QMenu(parent), mMainAction(std::move(mainAction)),
      mPopupItems(addMenu(QStringLiteral("Insert Popup Item")))
{
    connect(mPopupItems, &QMenu::triggered, this, [this](QAction *item) {
        // The item's text is in its data: the caption has its "&" doubled.
        emit popupItemChosen(item->data().toString());
    });
    QMenu *submenu = nullptr;
    for (const CommandTable::ContextEntry &e : CommandTable::contextMenu()) {
        QAction *a = nullptr;
        if (e.command == Command::FillColumn || e.command == Command::FillRow) {
            submenu = addMenu(QString::fromLatin1(e.caption));
            a = submenu->menuAction();
        } else {
            QMenu *menu = e.submenu && submenu ? submenu : this;
            a = menu->addAction(QString::fromLatin1(e.caption));
            if (*e.shortcut) {
                // Shown beside the caption; the main window's own action
                // answers the key.
                a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
                a->setShortcutContext(Qt::WidgetShortcut);
            }
            const Command command = e.command;
            connect(a, &QAction::triggered, this, [this, command] {
                if (QAction *main = mMainAction(command); main && main->isEnabled())
                    main->trigger();
            });
        }
        mEntries.append({e.command, a});
        if (e.separatorAfter)
            addSeparator();
    }
}

void GridContextMenu::refresh(const std::optional<QStringList> &items)
{
    mPopupItems->menuAction()->setVisible(items.has_value());
    mPopupItems->clear();
    if (items) {
        for (const QString &item : *items) {
            QAction *a = mPopupItems->addAction(
                QString(item).replace(QLatin1Char('&'), QStringLiteral("&&")));
            a->setData(item);
        }
    }
    for (const auto &[command, a] : std::as_const(mEntries)) {
        if (QAction *main = mMainAction(command))
            a->setEnabled(main->isEnabled());
    }
}
