#pragma once

#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// Fills the record from the registry. Never fails: a value that is missing or cannot be read
// shows one message and puts the defaults in place.
void LoadSettings(Settings& settings, Platform& platform);

// Writes the whole record back. A failing registry write ends the save there and reaches the
// caller as an Error.
void SaveSettings(const Settings& settings, Registry& registry);

// What a fresh install stores: the defaults a failed load falls back to, the built-in look, and
// neither start-up flag.
Settings DefaultSettings();

// The built-in addresses of the vendor's pages.
extern const char* const kDefaultUpdateUrl;
extern const char* const kDefaultBrowseSkinsUrl;

}  // namespace windlock
