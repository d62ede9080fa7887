#include "settings/registry_reader.h"

#include <charconv>

#include "common/error.h"

namespace windlock {
namespace {

Error TypeMismatch() {
  return Error(kErrTypeMismatch, "Type mismatch");
}

int32_t ParseDecimal(const std::string& text) {
  int32_t number = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, number);
  if (text.empty() || ec != std::errc() || ptr != end) throw TypeMismatch();
  return number;
}

}  // namespace

int32_t ReadLong(Registry& registry, const std::string& path) {
  RegistryValue value = registry.Read(path);
  switch (value.kind) {
    case RegistryValue::Kind::kDword:
      return static_cast<int32_t>(value.dword);
    case RegistryValue::Kind::kString:
      return ParseDecimal(value.text);
    case RegistryValue::Kind::kOther:
      break;
  }
  throw TypeMismatch();
}

std::string ReadText(Registry& registry, const std::string& path) {
  RegistryValue value = registry.Read(path);
  switch (value.kind) {
    case RegistryValue::Kind::kString:
      return value.text;
    case RegistryValue::Kind::kDword:
      return std::to_string(static_cast<int32_t>(value.dword));
    case RegistryValue::Kind::kOther:
      break;
  }
  throw TypeMismatch();
}

bool ReadFlag(Registry& registry, const std::string& path) {
  return ReadLong(registry, path) == 1;
}

}  // namespace windlock
