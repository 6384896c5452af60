#pragma once

#include "core/platform/message.h"

class MessageService;

/**
 * The main window's own questions: about unsaved changes, and about saving
 * auto-sized column widths.
 */
namespace ShellQuestions {

/// Whether the command that would drop the database may go on. Asks only
/// when there are unsaved changes; Yes gives them up and goes on, No stops.
bool ConfirmDiscardChanges(bool changed, MessageService &messages);

/// Where the widths question is asked; each has its own first line.
enum class SaveVariant
{
    Save,
    SaveAs,
    Install
};

/// The Yes/No/Cancel question before saving auto-sized widths: Yes saves
/// the widths from before auto-sizing, No the auto-sized ones, Cancel
/// saves nothing.
Message autoSizeQuestion(SaveVariant variant);

} // namespace ShellQuestions
