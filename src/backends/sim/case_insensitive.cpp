#include "backends/sim/case_insensitive.h"

#include <algorithm>
#include <cctype>

namespace windlock::sim {

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

bool LessFolded(std::string_view a, std::string_view b) {
  return FoldCase(a) < FoldCase(b);
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace windlock::sim
