#pragma once

#include <functional>

class CommandHost;
class MessageService;
class QUrl;
class QWidget;
class UserFeedback;
struct EngineServices;

/// The Help menu's commands.
namespace HelpBindings {

/// Binds Homepage, which opens the page through @p openUrl, and About,
/// over @p window.
void bind(const EngineServices &services, QWidget &window, CommandHost &host,
          std::function<void(const QUrl &, std::function<void()>)> openUrl);

/// Opens the program's own page, its README, with the desktop's "open"
/// (@p openUrl); says so when no browser takes it, also when that is
/// known only later.
void Homepage(UserFeedback &feedback, MessageService &messages,
              const std::function<void(const QUrl &, std::function<void()>)> &openUrl);

/// The About box, over @p parent.
void About(QWidget *parent);

} // namespace HelpBindings
