#include "widgets/mainwindow/editingbindings.h"

#include "table/operations/cellcommands.h"
#include "table/operations/recordcommands.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

#include <QAction>

namespace EditingBindings {

namespace {

TableServices services(TMainForm &form)
{
    return {form.document(), form.calculations(), form.messages(), form.feedback(),
            form.clipboard()};
}

/// The main window's preamble of the record and field commands: the filter
/// goes off, and for a new field auto-sizing too.
void preamble(TMainForm &form, bool newField)
{
    form.filter().ApplyFilter(FilterEngine::Off);
    if (newField)
        form.AutoSizeColumns(false);
}

int column(TMainForm &form)
{
    return form.grid()->currentGridColumn();
}

int row(TMainForm &form)
{
    return form.grid()->currentGridRow();
}

/// Makes (@p c, @p r) current, kept inside the table.
void setCurrent(TMainForm &form, int c, int r)
{
    const Database &db = form.database();
    form.grid()->setCurrentCell(qBound(1, c, db.fieldCount()), qBound(1, r, db.recordCount()));
}

void bindRecordCommands(TMainForm &form)
{
    form.bindCommand(Command::AppendRow, [&form] {
        preamble(form, false);
        if (RecordCommands(services(form)).AppendRecord())
            setCurrent(form, column(form), form.database().recordCount());
    });
    form.bindCommand(Command::InsertRow, [&form] {
        preamble(form, false);
        const int r = row(form);
        if (RecordCommands(services(form)).InsertRecord(r))
            setCurrent(form, column(form), r);
    });
    form.bindCommand(Command::DeleteRow, [&form] {
        preamble(form, false);
        const int c = column(form), r = row(form);
        if (RecordCommands(services(form)).DeleteRecord(r, form.preferences().expertMode))
            setCurrent(form, c, r);
    });
    form.bindCommand(Command::AppendColumn, [&form] {
        preamble(form, true);
        if (RecordCommands(services(form)).AppendField())
            setCurrent(form, form.database().fieldCount(), row(form));
    });
    form.bindCommand(Command::InsertColumn, [&form] {
        preamble(form, true);
        const int c = column(form);
        if (RecordCommands(services(form)).InsertField(c))
            setCurrent(form, c, row(form));
    });
    form.bindCommand(Command::DeleteColumn, [&form] {
        preamble(form, false);
        const int c = column(form), r = row(form);
        if (RecordCommands(services(form)).DeleteField(c, form.preferences().expertMode))
            setCurrent(form, c, r);
    });
    // The Shift+Ins the context menu shows works as well as the Tools
    // menu's Alt+Ins.
    form.action(Command::AppendRow)
        ->setShortcuts(
            {QKeySequence(QStringLiteral("Alt+Ins")), QKeySequence(QStringLiteral("Shift+Ins"))});
}

bool isBlock(const QRect &block)
{
    return block.width() > 1 || block.height() > 1;
}

/// Selects @p block (grid positions) with the current cell at its top left.
void selectBlock(TMainForm &form, const QRect &block)
{
    if (block.isEmpty())
        return;
    GridView *grid = form.grid();
    grid->setCurrentCell(block.left(), block.top());
    const QAbstractItemModel *model = grid->model();
    grid->selectionModel()->select(
        QItemSelection(model->index(block.top() - 1, block.left() - 1),
                       model->index(block.bottom() - 1, block.right() - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void copy(TMainForm &form, bool cut)
{
    CellCommands cells(services(form));
    const QRect block = form.grid()->selectedBlock();
    if (block.isEmpty())
        return;
    cells.CopyBlock(block);
    if (cut && !form.database().isReadOnly())
        cells.ClearBlock(block);
}

void paste(TMainForm &form)
{
    if (form.database().isReadOnly() || row(form) < 1)
        return;
    selectBlock(form, CellCommands(services(form)).PasteBlock(column(form), row(form)));
}

void bindCellCommands(TMainForm &form)
{
    // With a block selected, the cell commands work on the block; with one
    // cell, on the cell's own text.
    form.bindCommand(Command::CutCell, [&form] {
        if (isBlock(form.grid()->selectedBlock()))
            copy(form, true);
        else
            CellCommands(services(form)).CutCell(column(form), row(form));
    });
    form.bindCommand(Command::CopyCell, [&form] {
        if (isBlock(form.grid()->selectedBlock()))
            copy(form, false);
        else
            CellCommands(services(form)).CopyCell(column(form), row(form));
    });
    form.bindCommand(Command::PasteCell, [&form] {
        if (isBlock(form.grid()->selectedBlock()))
            paste(form);
        else
            CellCommands(services(form)).PasteCell(column(form), row(form));
    });
    form.bindCommand(Command::CutRow, [&form] {
        CellCommands(services(form)).CutRow(row(form), form.preferences().expertMode);
    });
    form.bindCommand(Command::CopyRow,
                     [&form] { CellCommands(services(form)).CopyRow(row(form)); });
    form.bindCommand(Command::PasteRow, [&form] {
        CellCommands(services(form)).PasteRow(row(form), form.preferences().expertMode);
    });

    using Direction = CellCommands::Direction;
    const std::pair<Command, Direction> fills[] = {{Command::FillUp, Direction::Up},
                                                   {Command::FillDown, Direction::Down},
                                                   {Command::FillLeft, Direction::Left},
                                                   {Command::FillRight, Direction::Right}};
    for (const auto &[command, direction] : fills) {
        form.bindCommand(command, [&form, direction = direction] {
            CellCommands(services(form)).Fill(direction, column(form), row(form));
        });
    }
    // The submenus that hold the fills follow them.
    form.bindCommand(Command::FillColumn, [] {});
    form.bindCommand(Command::FillRow, [] {});
}

/// The spreadsheet keys for blocks, on the grid alone: an open in-place
/// editor keeps them for its own text.
void bindBlockKeys(TMainForm &form)
{
    GridView *grid = form.grid();
    const auto add = [grid](QKeySequence::StandardKey key, std::function<void()> handler) {
        auto *a = new QAction(grid);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(a, &QAction::triggered, grid, std::move(handler));
        grid->addAction(a);
    };
    add(QKeySequence::Copy, [&form] { copy(form, false); });
    add(QKeySequence::Cut, [&form] { copy(form, true); });
    add(QKeySequence::Paste, [&form] { paste(form); });
    add(QKeySequence::Delete, [&form] {
        if (!form.database().isReadOnly())
            CellCommands(services(form)).ClearBlock(form.grid()->selectedBlock());
    });
}

} // namespace

void bind(TMainForm &form)
{
    bindRecordCommands(form);
    bindCellCommands(form);
    bindBlockKeys(form);
}

} // namespace EditingBindings
