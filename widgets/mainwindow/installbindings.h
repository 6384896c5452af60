#pragma once

class CommandHost;
struct EngineServices;

/// The Install command: the open database into the selected handheld
/// user's install folder (InstallFlow).
namespace InstallBindings {

void bind(const EngineServices &services, CommandHost &host);

} // namespace InstallBindings
