#pragma once

class TMainForm;

/// The Install command: the open database into the selected handheld
/// user's install folder (InstallFlow).
namespace InstallBindings {

void bind(TMainForm &form);

} // namespace InstallBindings
