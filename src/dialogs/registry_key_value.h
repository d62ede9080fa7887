#pragma once

#include <string>

#include "platform/registry.h"

namespace windlock {

// Reads one value as the About box's registry helper always has: the key opened for reading
// only, at most 1024 bytes taken. A string comes back without its terminating NUL, a REG_DWORD
// as its decimal text; a value of any other type is found but leaves `value` as it was. A
// missing key or value, an oversized or an empty one gives false and an empty `value`.
// `root` is "HKLM", "HKCU" or another root the registry port knows.
bool GetKeyValue(Registry& registry, const std::string& root, const std::string& key_name,
                 const std::string& value_name, std::string& value);

}  // namespace windlock
