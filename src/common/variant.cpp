#include "common/variant.h"

namespace windlock {

std::string Variant::ToText() const {
  if (is_number()) return std::to_string(number());
  if (is_text()) return text();
  if (is_bytes()) return std::string(bytes().begin(), bytes().end());
  return {};
}

}  // namespace windlock
