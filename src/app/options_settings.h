#pragma once
// The keys of Options in the settings file, in their fixed order.

#include "base/options.h"
#include "base/settings_file.h"

// Exchanges "ShowGridLines" ... "FindServerByIP" with their defaults, then
// "<Registry>BlockedUntil", written only while set.
void ExchangeOptionKeys(SettingsFile& file, Options& options);

// Whether a saved normal rectangle {left, top, right, bottom} of the main
// window may be restored on a desktop {x, y, width, height}: the bounds of
// every monitor together, so that a window left on a monitor left of or
// above the primary one counts.
bool IsPlacementPlausible(const int rect[4], const int desktop[4]);
