#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/help.h"

namespace windlock {

// ShowHtmlHelp: opens a compiled help file, in a named window ("file>window", both trimmed of
// blanks) when one is given, at a context number when one is given.
void ShowHtmlHelp(Help& help, const std::string& file, const std::string& window,
                  std::optional<int32_t> context = std::nullopt);

}  // namespace windlock
