#include "widgets/mainwindow/findbindings.h"

#include "core/document/document.h"
#include "rules/find/findformrules.h"
#include "rules/find/replaceformrules.h"
#include "rules/shell/engineservices.h"
#include "widgets/dialogs/tfindform.h"
#include "widgets/dialogs/treplaceform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/platform/qtprogress.h"

#include <memory>

namespace FindBindings {

namespace {

/// The rules and dialogs of the three commands; the dialogs belong to the
/// grid's window, the rules to the commands' handlers.
struct FindState
{
    FindState(const EngineServices &s, GridView &grid)
        : progress(grid.window()),
          findRules(
              s.document, s.filter, s.messages, s.feedback, progress,
              [&grid] { return grid.currentGridRow(); },
              [&grid](int column, int row) { makeCurrent(grid, column, row); }),
          replaceRules(
              s.document, s.locale, s.filter, s.feedback, progress,
              [&grid](int column, int row) { makeCurrent(grid, column, row); }, &s.calculations),
          findForm(new TFindForm(findRules, grid.window())),
          replaceForm(new TReplaceForm(replaceRules, s.messages, grid.window()))
    {
    }

    static void makeCurrent(GridView &grid, int column, int row)
    {
        grid.setCurrentCell(column, row);
        grid.bringCellIntoView(column, row);
    }

    QtProgress progress;
    FindFormRules findRules;
    ReplaceFormRules replaceRules;
    TFindForm *findForm;
    TReplaceForm *replaceForm;
};

} // namespace

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    const auto state = std::make_shared<FindState>(services, grid);
    const Document &doc = services.document;
    const auto showFind = [state, &doc, &host] {
        state->findForm->execute(FindFormRules::fieldChoices(doc.database()), host.programFont());
    };
    host.bindCommand(Command::Find, showFind);
    host.bindCommand(Command::FindNext, [state, showFind] {
        if (state->findRules.findNext())
            showFind();
    });
    QObject::connect(state->replaceForm, &TReplaceForm::closingWord, &grid,
                     [&host](const QString &text) { host.showClosingWord(text); });
    host.bindCommand(Command::Replace, [state, &doc, &host] {
        state->replaceForm->execute(FindFormRules::fieldChoices(doc.database()),
                                    host.programFont());
    });
}

} // namespace FindBindings
