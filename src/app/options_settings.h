#pragma once
// The keys of Options in the settings file, in their fixed order.

#include "base/options.h"
#include "base/settings_file.h"

// Exchanges "ShowGridLines" ... "FindServerByIP" with their defaults.
void ExchangeOptionKeys(SettingsFile& file, Options& options);
