#include "widgets/mainwindow/sortbindings.h"

#include "core/document/document.h"
#include "rules/shell/closingword.h"
#include "rules/shell/engineservices.h"
#include "table/sort/recordsort.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"

#include <QAction>

namespace SortBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    const auto sort = [&services, &grid, &host](bool reverse) {
        if (RecordSort::sortByColumn(services.document, grid.currentGridColumn(), reverse,
                                     services.filter, services.feedback, services.locale))
            host.showClosingWord(ClosingWord::sorted(services.document.database().recordCount()));
    };
    host.bindCommand(Command::SortNormal, [sort] { sort(false); });
    host.bindCommand(Command::SortReverse, [sort] { sort(true); });
}

void updateHints(const EngineServices &services, const GridView &grid, CommandHost &host)
{
    const int column = grid.currentGridColumn();
    const QString field =
        column >= 1 ? services.document.database().grid().cell(column, 0) : QString();
    const std::pair<Command, QString> hints[] = {
        {Command::SortNormal, QStringLiteral("Sort normal - primary field: ") + field},
        {Command::SortReverse, QStringLiteral("Sort reverse - primary field: ") + field}};
    for (const auto &[command, hint] : hints) {
        if (host.action(command)->toolTip() != hint)
            host.action(command)->setToolTip(hint);
    }
}

} // namespace SortBindings
