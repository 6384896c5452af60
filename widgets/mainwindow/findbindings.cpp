#include "widgets/mainwindow/findbindings.h"

#include "rules/find/findformrules.h"
#include "rules/find/replaceformrules.h"
#include "widgets/dialogs/tfindform.h"
#include "widgets/dialogs/treplaceform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

#include <memory>

namespace FindBindings {

namespace {

/// The rules and dialogs of the three commands; the dialogs belong to the
/// window, the rules to the commands' handlers.
struct FindState
{
    explicit FindState(TMainForm &form)
        : findRules(
              form.document(), form.filter(), form.messages(),
              [&form] { return form.grid()->currentGridRow(); },
              [&form](int column, int row) { makeCurrent(form, column, row); }),
          replaceRules(
              form.document(), form.locale(), form.filter(), form.feedback(),
              [&form](int column, int row) { makeCurrent(form, column, row); },
              &form.calculations()),
          findForm(new TFindForm(findRules, &form)),
          replaceForm(new TReplaceForm(replaceRules, form.messages(), &form))
    {
    }

    static void makeCurrent(TMainForm &form, int column, int row)
    {
        form.grid()->setCurrentCell(column, row);
        form.grid()->bringCellIntoView(column, row);
    }

    FindFormRules findRules;
    ReplaceFormRules replaceRules;
    TFindForm *findForm;
    TReplaceForm *replaceForm;
};

} // namespace

void bind(TMainForm &form)
{
    const auto state = std::make_shared<FindState>(form);
    const auto showFind = [state, &form] {
        state->findForm->execute(FindFormRules::fieldChoices(form.database()), form.programFont());
    };
    form.bindCommand(Command::Find, showFind);
    form.bindCommand(Command::FindNext, [state, showFind] {
        if (state->findRules.findNext())
            showFind();
    });
    form.bindCommand(Command::Replace, [state, &form] {
        state->replaceForm->execute(FindFormRules::fieldChoices(form.database()),
                                    form.programFont());
    });
}

} // namespace FindBindings
