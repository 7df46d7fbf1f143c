#pragma once
// The keys of Options in the settings file, in their fixed order.

#include "shell/options.h"
#include "shell/settings_file.h"

// Exchanges "ShowGridLines" ... "FindServerByIP" with their defaults.
void ExchangeOptionKeys(SettingsFile& file, Options& options);
