#include "widgets/mainwindow/editingbindings.h"

#include "core/document/document.h"
#include "rules/grid/columnautosize.h"
#include "rules/settings/preferences.h"
#include "rules/shell/closingword.h"
#include "rules/shell/engineservices.h"
#include "table/filter/filterengine.h"
#include "table/operations/cellcommands.h"
#include "table/operations/recordcommands.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"

#include <QAction>

namespace EditingBindings {

namespace {

/// What each binding works on: the services, the grid and the window.
struct Context
{
    const EngineServices &s;
    GridView &grid;
    CommandHost &host;

    const Database &database() const { return s.document.database(); }
    int column() const { return grid.currentGridColumn(); }
    int row() const { return grid.currentGridRow(); }
    bool expertMode() const { return s.preferences.expertMode; }

    /// The main window's preamble of the record and field commands: the
    /// filter goes off, and for a new field auto-sizing too.
    void preamble(bool newField) const
    {
        s.filter.ApplyFilter(FilterEngine::Off);
        if (newField)
            host.AutoSizeColumns(false);
    }

    /// Makes (@p c, @p r) current, kept inside the table.
    void setCurrent(int c, int r) const
    {
        grid.setCurrentCell(qBound(1, c, database().fieldCount()),
                            qBound(1, r, database().recordCount()));
    }
};

void bindRecordCommands(const Context &x)
{
    x.host.bindCommand(Command::AppendRow, [x] {
        x.preamble(false);
        if (RecordCommands(x.s.table()).AppendRecord())
            x.setCurrent(x.column(), x.database().recordCount());
    });
    x.host.bindCommand(Command::InsertRow, [x] {
        x.preamble(false);
        const int r = x.row();
        if (RecordCommands(x.s.table()).InsertRecord(r))
            x.setCurrent(x.column(), r);
    });
    x.host.bindCommand(Command::DeleteRow, [x] {
        x.preamble(false);
        const int c = x.column(), r = x.row();
        if (RecordCommands(x.s.table()).DeleteRecord(r, x.expertMode()))
            x.setCurrent(c, r);
    });
    x.host.bindCommand(Command::AppendColumn, [x] {
        x.preamble(true);
        if (RecordCommands(x.s.table()).AppendField())
            x.setCurrent(x.database().fieldCount(), x.row());
    });
    x.host.bindCommand(Command::InsertColumn, [x] {
        x.preamble(true);
        const int c = x.column();
        if (RecordCommands(x.s.table()).InsertField(c))
            x.setCurrent(c, x.row());
    });
    x.host.bindCommand(Command::DeleteColumn, [x] {
        x.preamble(false);
        const int c = x.column(), r = x.row();
        if (RecordCommands(x.s.table()).DeleteField(c, x.expertMode()))
            x.setCurrent(c, r);
    });
    // The Shift+Ins the context menu shows works as well as the Tools
    // menu's Alt+Ins.
    x.host.action(Command::AppendRow)
        ->setShortcuts(
            {QKeySequence(QStringLiteral("Alt+Ins")), QKeySequence(QStringLiteral("Shift+Ins"))});
}

bool isBlock(const QRect &block)
{
    return block.width() > 1 || block.height() > 1;
}

/// Selects @p block (grid positions) with the current cell at its top left.
void selectBlock(GridView &grid, const QRect &block)
{
    if (block.isEmpty())
        return;
    grid.setCurrentCell(block.left(), block.top());
    const QAbstractItemModel *model = grid.model();
    grid.selectionModel()->select(
        QItemSelection(model->index(block.top() - 1, block.left() - 1),
                       model->index(block.bottom() - 1, block.right() - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void copy(const Context &x, bool cut)
{
    CellCommands cells(x.s.table());
    const QRect block = x.grid.selectedBlock();
    if (block.isEmpty())
        return;
    cells.CopyBlock(block);
    if (cut && !x.database().isReadOnly())
        cells.ClearBlock(block);
}

void paste(const Context &x)
{
    if (x.database().isReadOnly() || x.row() < 1)
        return;
    selectBlock(x.grid, CellCommands(x.s.table()).PasteBlock(x.column(), x.row()));
}

void bindCellCommands(const Context &x)
{
    // With a block selected, the cell commands work on the block; with one
    // cell, on the cell's own text.
    x.host.bindCommand(Command::CutCell, [x] {
        if (isBlock(x.grid.selectedBlock()))
            copy(x, true);
        else
            CellCommands(x.s.table()).CutCell(x.column(), x.row());
    });
    x.host.bindCommand(Command::CopyCell, [x] {
        if (isBlock(x.grid.selectedBlock()))
            copy(x, false);
        else
            CellCommands(x.s.table()).CopyCell(x.column(), x.row());
    });
    x.host.bindCommand(Command::PasteCell, [x] {
        if (isBlock(x.grid.selectedBlock()))
            paste(x);
        else
            CellCommands(x.s.table()).PasteCell(x.column(), x.row());
    });
    x.host.bindCommand(Command::CutRow,
                       [x] { CellCommands(x.s.table()).CutRow(x.row(), x.expertMode()); });
    x.host.bindCommand(Command::CopyRow, [x] { CellCommands(x.s.table()).CopyRow(x.row()); });
    x.host.bindCommand(Command::PasteRow,
                       [x] { CellCommands(x.s.table()).PasteRow(x.row(), x.expertMode()); });

    using Direction = CellCommands::Direction;
    const std::pair<Command, Direction> fills[] = {{Command::FillUp, Direction::Up},
                                                   {Command::FillDown, Direction::Down},
                                                   {Command::FillLeft, Direction::Left},
                                                   {Command::FillRight, Direction::Right}};
    for (const auto &[command, direction] : fills) {
        x.host.bindCommand(command, [x, direction = direction] {
            const int filled = CellCommands(x.s.table()).Fill(direction, x.column(), x.row());
            x.host.showClosingWord(ClosingWord::filled(filled));
        });
    }
    // The submenus that hold the fills follow them.
    x.host.bindCommand(Command::FillColumn, [] {});
    x.host.bindCommand(Command::FillRow, [] {});
}

/// The spreadsheet keys for blocks, on the grid alone: an open in-place
/// editor keeps them for its own text.
void bindBlockKeys(const Context &x)
{
    GridView *grid = &x.grid;
    const auto add = [grid](QKeySequence::StandardKey key, std::function<void()> handler) {
        auto *a = new QAction(grid);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(a, &QAction::triggered, grid, std::move(handler));
        grid->addAction(a);
    };
    add(QKeySequence::Copy, [x] { copy(x, false); });
    add(QKeySequence::Cut, [x] { copy(x, true); });
    add(QKeySequence::Paste, [x] { paste(x); });
    add(QKeySequence::Delete, [x] {
        if (!x.database().isReadOnly())
            CellCommands(x.s.table()).ClearBlock(x.grid.selectedBlock());
    });
}

} // namespace

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    const Context x{services, grid, host};
    bindRecordCommands(x);
    bindCellCommands(x);
    bindBlockKeys(x);
}

} // namespace EditingBindings
