#pragma once

#include "core/document/advancedfiltersettings.h"

/// A named advanced filter; list 1 also holds the working advanced filter.
using SavedFilterList = AdvancedFilterSettings;
