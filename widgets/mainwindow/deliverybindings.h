#pragma once

#include <functional>

class CommandHost;
class SettingsStore;
class StartPage;
struct EngineServices;

/**
 * Handheld delivery in the window: the users read at start and what the
 * start says while nobody can be installed for (the message box of
 * missing desktop software where that software may be, else the start
 * page's quiet line), the Install command, which opens the set-up while
 * there is no user, and the set-up (DeliverySetupForm) from the File menu
 * and from the start page's line.
 */
namespace DeliveryBindings {

/**
 * Reads the handheld users, selects the one who synchronised last, says
 * what the start calls for (@p desktopExpected: where the desktop software
 * may be, its absence is a message box) and binds Install and the set-up.
 * A set-up
 * stores the plain install folder in @p settings and reads the users
 * again, selecting its user. @p usersChanged runs whenever the selected
 * user may have changed (the window's initial folder follows it). What is
 * given outlives the window's commands.
 */
void start(const EngineServices &services, CommandHost &host, StartPage &page,
           SettingsStore &settings, bool desktopExpected, std::function<void()> usersChanged);

} // namespace DeliveryBindings
