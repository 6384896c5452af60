#include "widgets/mainwindow/sortbindings.h"

#include "table/sort/recordsort.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

namespace SortBindings {

void bind(TMainForm &form)
{
    const auto sort = [&form](bool reverse) {
        RecordSort::sortByColumn(form.document(), form.grid()->currentGridColumn(), reverse,
                                 form.filter(), form.feedback(), form.locale());
    };
    form.bindCommand(Command::SortNormal, [sort] { sort(false); });
    form.bindCommand(Command::SortReverse, [sort] { sort(true); });
}

void updateHints(TMainForm &form)
{
    const int column = form.grid()->currentGridColumn();
    const QString field = column >= 1 ? form.database().grid().cell(column, 0) : QString();
    const std::pair<Command, QString> hints[] = {
        {Command::SortNormal, QStringLiteral("Sort normal - primary field: ") + field},
        {Command::SortReverse, QStringLiteral("Sort reverse - primary field: ") + field}};
    for (const auto &[command, hint] : hints) {
        if (form.action(command)->toolTip() != hint)
            form.action(command)->setToolTip(hint);
    }
}

} // namespace SortBindings
