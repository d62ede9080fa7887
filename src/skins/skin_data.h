#pragma once

#include "common/variant.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// The skin's own data file (Skins\NAME\NAME.xml): loaded into, and saved from, XML documents
// the skin's script holds. The built-in look has none.

// Appends a copy of the data file's root element to `target`, a document or an element; true when
// the file loaded. A failure on the way is shown, and the result so far returned.
bool LoadXMLDATA(Platform& platform, const Settings& settings, Variant& target);
// Writes a copy of `source`'s root element to the data file; false, silently, when it cannot
// (also when `source` is not a document).
bool SaveXMLDATA(Platform& platform, const Settings& settings, Variant& source);

}  // namespace windlock
