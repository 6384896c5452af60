#pragma once

#include <functional>

class CommandHost;
struct EngineServices;

/// The Install command: the open database into the selected handheld
/// user's install folder (InstallFlow).
namespace InstallBindings {

/// Binds Install. While there is no handheld user it runs @p setUp, the
/// set-up of delivery, first, and goes on when that says a user is there.
void bind(const EngineServices &services, CommandHost &host, std::function<bool()> setUp);

} // namespace InstallBindings
