#include "common/utf8.h"

namespace windlock {
namespace {

// The length a lead byte announces, or 0 for a byte that cannot start a character.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t length = SequenceLength(static_cast<unsigned char>(text[at]));
    bool whole = length > 0 && at + length <= text.size();
    for (std::size_t i = 1; whole && i < length; ++i) {
      whole = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
    }
    at += whole ? length : 1;
    ++count;
  }
  return count;
}

}  // namespace windlock
