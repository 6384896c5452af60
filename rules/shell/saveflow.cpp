#include "rules/shell/saveflow.h"

#include "core/platform/messageservice.h"
#include "rules/grid/columnautosize.h"

bool SaveFlow(Document &doc, ColumnAutoSize &autoSize, bool expertMode,
              ShellQuestions::SaveVariant variant, const SaveServices &services)
{
    const bool wasOn = autoSize.isOn();
    if (wasOn && !expertMode) {
        const MessageButton answer =
            services.messages.show(ShellQuestions::autoSizeQuestion(variant));
        if (answer != MessageButton::Yes && answer != MessageButton::No)
            return false;
        if (answer == MessageButton::Yes)
            autoSize.AutoSizeColumns(false);
    }
    const SaveTarget target =
        variant == ShellQuestions::SaveVariant::SaveAs ? SaveTarget::ask() : SaveTarget::ownName();
    const bool saved = SaveDatabaseFile(doc, target, services);
    if (wasOn)
        autoSize.AutoSizeColumns(true);
    return saved;
}
