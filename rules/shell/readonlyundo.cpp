#include "rules/shell/readonlyundo.h"

#include "core/document/document.h"

#include <algorithm>

namespace ReadOnlyUndo {

namespace {

bool switches(const Edit &edit, bool readOnly)
{
    return std::any_of(edit.steps.begin(), edit.steps.end(), [readOnly](const EditStep::Step &s) {
        const auto *options = std::get_if<EditStep::Options>(&s);
        return options && options->options.readOnly != readOnly;
    });
}

} // namespace

bool undoSwitches(Document &doc)
{
    return doc.canUndo() && switches(doc.history().undoEntry().edit, doc.database().isReadOnly());
}

bool redoSwitches(Document &doc)
{
    return doc.canRedo() && switches(doc.history().redoEntry().edit, doc.database().isReadOnly());
}

} // namespace ReadOnlyUndo
