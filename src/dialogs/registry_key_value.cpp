#include "dialogs/registry_key_value.h"

#include <cstdint>
#include <optional>

namespace windlock {
namespace {

// The buffer the value is read into; a longer value does not fit and is not read.
constexpr std::size_t kBufferBytes = 1024;

std::string DwordText(const std::string& bytes) {
  uint32_t dword = 0;
  for (std::size_t i = bytes.size(); i > 0; --i) {
    dword = (dword << 8) | static_cast<unsigned char>(bytes[i - 1]);
  }
  // A hexadecimal literal of 32 bits reads as a signed Long: &hFFFFFFFF is -1.
  return std::to_string(static_cast<int32_t>(dword));
}

}  // namespace

bool GetKeyValue(Registry& registry, const std::string& root, const std::string& key_name,
                 const std::string& value_name, std::string& value) {
  std::optional<RawRegistryValue> raw =
      registry.ReadRaw(root + "\\" + key_name + "\\" + value_name, kKeyQueryValue);
  // An empty value has no last byte to look at: that fails as a missing one does.
  if (!raw || raw->bytes.size() > kBufferBytes || raw->bytes.empty()) {
    value.clear();
    return false;
  }
  std::string data = raw->bytes;
  if (data.back() == '\0') data.pop_back();
  if (raw->type == kRegSz) {
    value = data;
  } else if (raw->type == kRegDword) {
    value = DwordText(raw->bytes.substr(0, 4));
  }
  return true;
}

}  // namespace windlock
