#pragma once

#include <cstddef>
#include <string_view>

namespace windlock {

// Number of characters (code points) in UTF-8 text; a stray byte counts as one character.
std::size_t CharCount(std::string_view text);

}  // namespace windlock
