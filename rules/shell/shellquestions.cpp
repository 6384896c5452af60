#include "rules/shell/shellquestions.h"

#include "core/platform/messageservice.h"

namespace ShellQuestions {

bool ConfirmDiscardChanges(bool changed, MessageService &messages)
{
    if (!changed)
        return true;
    const MessageButton answer = messages.show(
        {QStringLiteral("Information"),
         MessageIcon::Warning,
         {QStringLiteral("You have not saved the changes to this file and you will lose the "
                         "changes if you close this file. Are sure that you want to close this "
                         "file?")},
         MessageButton::Yes | MessageButton::No});
    return answer == MessageButton::Yes;
}

Message autoSizeQuestion(SaveVariant variant)
{
    const QString first =
        variant == SaveVariant::Save
            ? QStringLiteral("The column width is changed by auto-width and could be unsuitable "
                             "for your handheld display.")
            : QStringLiteral("The column width is changed by auto-width and could be unsuitable "
                             "for the handheld display.");
    const QString second =
        variant == SaveVariant::Install
            ? QStringLiteral("Do you want to save the file with the prevouis width settings?")
            : QStringLiteral("Do you prefer to save the file with the prevouis width settings?");
    return {QStringLiteral("Information"),
            MessageIcon::Warning,
            {first, second},
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel};
}

} // namespace ShellQuestions
