#pragma once

#include "core/platform/syncsoftware.h"

#include <memory>
#include <vector>

class SettingsStore;

/// The synchronisation software this platform may have.
namespace SyncSoftwareProviders {

/**
 * On Windows the handheld maker's desktop in the user's registry. Elsewhere
 * the same settings in an INI file (PalmDesktopSettings::defaultIniPath()),
 * then the program whose folder JPilotSettings::defaultFolder() names. Last
 * the plain install folder the user may have set up in @p settings, which
 * outlives the list.
 */
std::vector<std::unique_ptr<SyncSoftware>> platform(const SettingsStore &settings);

/// The same with the platform's per-user settings (QSettingsStore).
std::vector<std::unique_ptr<SyncSoftware>> platform();

/// Whether the handheld maker's desktop software may be on this platform
/// at all, so that its absence is worth a message at start: on Windows.
bool desktopSoftwareExpected();

} // namespace SyncSoftwareProviders
