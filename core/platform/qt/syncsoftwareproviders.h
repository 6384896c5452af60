#pragma once

#include "core/platform/syncsoftware.h"

#include <memory>
#include <vector>

/// The synchronisation software this platform may have.
namespace SyncSoftwareProviders {

/**
 * On Windows the handheld maker's desktop in the user's registry. Elsewhere
 * the same settings in an INI file (PalmDesktopSettings::defaultIniPath()),
 * then the program whose folder JPilotSettings::defaultFolder() names.
 */
std::vector<std::unique_ptr<SyncSoftware>> platform();

} // namespace SyncSoftwareProviders
