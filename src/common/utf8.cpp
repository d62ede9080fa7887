#include "common/utf8.h"

namespace windlock {

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80)
      ++count;
  }
  return count;
}

}  // namespace windlock
