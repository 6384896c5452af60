#pragma once

#include "core/platform/messageservice.h"

#include <QString>

/// A Yes/No question with caption "Confirm" and the question icon, asked
/// unless the user works in expert mode; whether to go ahead.
inline bool confirmUnlessExpert(MessageService &messages, const QString &question, bool expertMode)
{
    if (expertMode)
        return true;
    return messages.show({QStringLiteral("Confirm"),
                          MessageIcon::Question,
                          {question},
                          MessageButton::Yes | MessageButton::No}) == MessageButton::Yes;
}
