#pragma once

#include <string>
#include <string_view>

namespace windlock::sim {

// Windows compares registry and file names without regard to ASCII letter case.
std::string FoldCase(std::string_view text);
bool LessFolded(std::string_view a, std::string_view b);
// HTML names (tags, attributes) likewise.
bool EqualsFolded(std::string_view a, std::string_view b);

}  // namespace windlock::sim
