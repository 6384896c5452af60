#pragma once

class TMainForm;

/// The Install command: the open database into the selected handheld
/// user's install folder (InstallFlow).
namespace InstallCommands {

void bind(TMainForm &form);

} // namespace InstallCommands
