#include "widgets/mainwindow/interchangebindings.h"

#include "core/document/document.h"
#include "core/files/databaseshell.h"
#include "core/platform/clock.h"
#include "core/platform/userfeedback.h"
#include "interchange/hotsync/tuserdata.h"
#include "interchange/lookup/lookupformrules.h"
#include "interchange/newdatabase/clonedatabase.h"
#include "interchange/text/textcommands.h"
#include "rules/settings/initialdirectory.h"
#include "rules/shell/closingword.h"
#include "rules/shell/engineservices.h"
#include "table/filter/filterengine.h"
#include "widgets/dialogs/tdateiform.h"
#include "widgets/dialogs/tlookupform.h"
#include "widgets/grid/gridcontextmenu.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/platform/qtprogress.h"

#include <QCursor>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {

const char *const StateName = "interchangeBindings";

/// What the commands keep for the run, a child of the grid's window: the
/// dialogs, made once, and the text commands with their remembered file
/// types and folders.
struct State : QObject
{
    State(const EngineServices &s, QWidget *window)
        : QObject(window), progress(window),
          text(s.document, {s.messages, s.files, s.feedback, progress}),
          dateiForm(new TDateiForm(s.messages, window)), lookupForm(new TLookupForm(window))
    {
        setObjectName(QString::fromLatin1(StateName));
    }

    QtProgress progress;
    TextCommands text;
    TDateiForm *dateiForm;
    TLookupForm *lookupForm;
};

State &state(const EngineServices &s, GridView &grid)
{
    // Only bind() makes it, so the child of that name is one.
    QWidget *window = grid.window();
    auto *found =
        window->findChild<QObject *>(QString::fromLatin1(StateName), Qt::FindDirectChildrenOnly);
    return found ? *static_cast<State *>(found) : *new State(s, window);
}

/// What the commands work on: the services, the grid and the window.
struct Context
{
    const EngineServices &s;
    GridView &grid;
    CommandHost &host;

    State &state() const { return ::state(s, grid); }
    const Database &database() const { return s.document.database(); }

    /// Shows the database the document now holds, as reading a file ends.
    void showNewDatabase() const
    {
        host.ApplyProgramFont();
        s.shell.SetupGrid(true);
        s.shell.focusGrid();
    }
};

void NewDatabase(const Context &x)
{
    if (!x.s.shell.ConfirmDiscardChanges())
        return;
    const std::optional<NewDatabaseRules::Choices> choices = x.state().dateiForm->execute();
    if (!choices)
        return;
    x.s.feedback.setBusy(true);
    Database db;
    db.setWidthScale(x.database().widthScale());
    NewDatabaseRules::create(db, *choices, x.s.clock.now(), QDir::currentPath());
    x.s.shell.SetupGrid(false);
    x.s.document.replace(std::move(db));
    x.showNewDatabase();
    x.s.feedback.setBusy(false);
}

void Clone(const Context &x)
{
    if (!x.s.shell.ConfirmDiscardChanges())
        return;
    // The widths auto-sizing set go back before the fields are copied.
    x.host.AutoSizeColumns(false);
    Database clone = CloneDatabase(x.database(), x.s.clock.now(), QDir::currentPath());
    x.s.shell.SetupGrid(false);
    x.s.document.replace(std::move(clone));
    x.s.shell.SetupGrid(true);
    x.s.shell.focusGrid();
}

void Import(const Context &x)
{
    x.s.filter.ApplyFilter(FilterEngine::Off);
    x.host.AutoSizeColumns(false);
    if (x.state().text.Import(x.s.fileDialogs, x.s.shell)) {
        x.showNewDatabase();
        x.host.showClosingWord(ClosingWord::imported(x.database().recordCount()));
    }
}

void Append(const Context &x)
{
    x.s.filter.ApplyFilter(FilterEngine::Off);
    x.host.AutoSizeColumns(false);
    const int before = x.database().recordCount();
    if (x.state().text.Append(x.s.fileDialogs, x.s.shell))
        x.host.showClosingWord(ClosingWord::appended(x.database().recordCount() - before));
}

LookupServices lookupServices(const EngineServices &s)
{
    // The program's initial folder by its rule (the open dialog's own start
    // folder is forgotten once a file has been chosen there): the selected
    // handheld user's backup folder, or the folder of the last database
    // opened.
    const QString folder = InitialDirectory::UpdateInitialDirectory(
        s.preferences, s.userData.BackupFolder(s.selectedSyncUser));
    return {s.messages, s.passwords, s.files, s.fileDialogs, s.feedback, folder};
}

} // namespace

namespace InterchangeBindings {

bool offerLookupLoad(const EngineServices &services, GridView &grid, int column)
{
    return OfferLookupLoad(services.document, column, *state(services, grid).lookupForm,
                           lookupServices(services));
}

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    const Context x{services, grid, host};
    x.state();
    host.bindCommand(Command::New, [x] { NewDatabase(x); });
    host.bindCommand(Command::Clone, [x] { Clone(x); });
    host.bindCommand(Command::Import, [x] { Import(x); });
    host.bindCommand(Command::Append, [x] { Append(x); });
    host.bindCommand(Command::Export, [x] { x.state().text.Export(x.s.fileDialogs); });

    // A submenu's own action never triggers: the list is offered as the
    // popup items are about to show. Once the menus have finished showing,
    // they close for the lookup dialog, and the context menu opens again
    // where it was, with the loaded items.
    auto *menu = qobject_cast<GridContextMenu *>(host.contextMenu());
    if (!menu)
        return;
    QObject::connect(menu->popupItemsMenu(), &QMenu::aboutToShow, &grid, [x, menu] {
        const int column = x.grid.currentGridColumn();
        if (!LookupList::isUnloaded(x.database(), column))
            return;
        const QPoint where = menu->pos();
        QTimer::singleShot(0, &x.grid, [x, menu, column, where] {
            menu->popupItemsMenu()->hide();
            menu->hide();
            if (offerLookupLoad(x.s, x.grid, column))
                x.host.contextMenu()->popup(where);
        });
    });
}

} // namespace InterchangeBindings
