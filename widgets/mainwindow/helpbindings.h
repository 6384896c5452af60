#pragma once

#include <functional>

class MessageService;
class QUrl;
class QWidget;
class UserFeedback;

/// The Help menu's commands.
namespace HelpBindings {

/// Opens the program's own page, its README, with the desktop's "open"
/// (@p openUrl); says so when no browser takes it.
void Homepage(UserFeedback &feedback, MessageService &messages,
              const std::function<bool(const QUrl &)> &openUrl);

/// The About box, over @p parent.
void About(QWidget *parent);

} // namespace HelpBindings
