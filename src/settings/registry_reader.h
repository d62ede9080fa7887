#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace windlock {

// Typed reads of stored values. A number stored as decimal text reads as that number, a number
// read as text gives its decimal text; any other mismatch fails with "Type mismatch".
int32_t ReadLong(Registry& registry, const std::string& path);
std::string ReadText(Registry& registry, const std::string& path);
// Stored flags are true only when the stored number is exactly 1.
bool ReadFlag(Registry& registry, const std::string& path);

}  // namespace windlock
