#include "widgets/mainwindow/interchangebindings.h"

#include "interchange/lookup/lookupformrules.h"
#include "interchange/newdatabase/clonedatabase.h"
#include "interchange/text/textcommands.h"
#include "rules/settings/initialdirectory.h"
#include "widgets/dialogs/tdateiform.h"
#include "widgets/dialogs/tlookupform.h"
#include "widgets/grid/gridcontextmenu.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"
#include "widgets/platform/qtprogress.h"

#include <QCursor>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {

const char *const StateName = "interchangeBindings";

/// What the commands keep for the run, a child of the window: the dialogs,
/// made once, and the text commands with their remembered file types and
/// folders.
struct State : QObject
{
    explicit State(TMainForm &form)
        : QObject(&form), progress(&form),
          text(form.document(), {form.messages(), form.files(), form.feedback(), progress}),
          dateiForm(new TDateiForm(form.messages(), &form)), lookupForm(new TLookupForm(&form))
    {
        setObjectName(QString::fromLatin1(StateName));
    }

    QtProgress progress;
    TextCommands text;
    TDateiForm *dateiForm;
    TLookupForm *lookupForm;
};

State &state(TMainForm &form)
{
    // Only bind() makes it, so the child of that name is one.
    auto *found =
        form.findChild<QObject *>(QString::fromLatin1(StateName), Qt::FindDirectChildrenOnly);
    return found ? *static_cast<State *>(found) : *new State(form);
}

/// Shows the database the document now holds, as reading a file ends.
void showNewDatabase(TMainForm &form)
{
    form.ApplyProgramFont();
    form.SetupGrid(true);
    form.focusGrid();
}

void NewDatabase(TMainForm &form)
{
    if (!form.ConfirmDiscardChanges())
        return;
    const std::optional<NewDatabaseRules::Choices> choices = state(form).dateiForm->execute();
    if (!choices)
        return;
    form.feedback().setBusy(true);
    Database db;
    db.setWidthScale(form.database().widthScale());
    NewDatabaseRules::create(db, *choices, form.clock().now(), QDir::currentPath());
    form.SetupGrid(false);
    form.document().replace(std::move(db));
    showNewDatabase(form);
    form.feedback().setBusy(false);
}

void Clone(TMainForm &form)
{
    if (!form.ConfirmDiscardChanges())
        return;
    // The widths auto-sizing set go back before the fields are copied.
    form.AutoSizeColumns(false);
    Database clone = CloneDatabase(form.database(), form.clock().now(), QDir::currentPath());
    form.SetupGrid(false);
    form.document().replace(std::move(clone));
    form.SetupGrid(true);
    form.focusGrid();
}

void Import(TMainForm &form)
{
    form.filter().ApplyFilter(FilterEngine::Off);
    form.AutoSizeColumns(false);
    if (state(form).text.Import(form.fileDialogs(), form))
        showNewDatabase(form);
}

void Append(TMainForm &form)
{
    form.filter().ApplyFilter(FilterEngine::Off);
    form.AutoSizeColumns(false);
    state(form).text.Append(form.fileDialogs(), form);
}

LookupServices lookupServices(TMainForm &form)
{
    // The program's initial folder by its rule (the open dialog's own start
    // folder is forgotten once a file has been chosen there). No handheld
    // users are read yet, so it is the folder of the last database opened.
    const QString folder =
        InitialDirectory::UpdateInitialDirectory(form.preferences(), QString(), QString());
    return {form.messages(),    form.passwords(), form.files(),
            form.fileDialogs(), form.feedback(),  folder};
}

} // namespace

namespace InterchangeBindings {

bool offerLookupLoad(TMainForm &form, int column)
{
    return OfferLookupLoad(form.document(), column, *state(form).lookupForm, lookupServices(form));
}

void bind(TMainForm &form)
{
    state(form);
    form.bindCommand(Command::New, [&form] { NewDatabase(form); });
    form.bindCommand(Command::Clone, [&form] { Clone(form); });
    form.bindCommand(Command::Import, [&form] { Import(form); });
    form.bindCommand(Command::Append, [&form] { Append(form); });
    form.bindCommand(Command::Export, [&form] { state(form).text.Export(form.fileDialogs()); });

    // A submenu's own action never triggers: the list is offered as the
    // popup items are about to show. Once the menus have finished showing,
    // they close for the lookup dialog, and the context menu opens again
    // where it was, with the loaded items.
    auto *menu = qobject_cast<GridContextMenu *>(form.contextMenu());
    if (!menu)
        return;
    QObject::connect(menu->popupItemsMenu(), &QMenu::aboutToShow, &form, [&form, menu] {
        const int column = form.grid()->currentGridColumn();
        if (!LookupList::isUnloaded(form.database(), column))
            return;
        const QPoint where = menu->pos();
        QTimer::singleShot(0, &form, [&form, menu, column, where] {
            menu->popupItemsMenu()->hide();
            menu->hide();
            if (offerLookupLoad(form, column))
                form.contextMenu()->popup(where);
        });
    });
}

} // namespace InterchangeBindings
