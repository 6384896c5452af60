#include "ui/widgets/mainwindow/sortcommands.h"

#include "table/sort/recordsort.h"
#include "ui/widgets/grid/gridview.h"
#include "ui/widgets/mainwindow/tmainform.h"

namespace SortCommands {

void bind(TMainForm &form)
{
    const auto sort = [&form](bool reverse) {
        RecordSort::sortByColumn(form.document(), form.grid()->currentGridColumn(), reverse,
                                 form.filter(), form.feedback(), form.locale());
    };
    form.bindCommand(Command::SortNormal, [sort] { sort(false); });
    form.bindCommand(Command::SortReverse, [sort] { sort(true); });
}

} // namespace SortCommands
