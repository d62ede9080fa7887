#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace windlock {

struct RegistryValue {
  enum class Kind { kString, kDword, kOther };
  Kind kind = Kind::kOther;
  std::string text;    // kString
  uint32_t dword = 0;  // kDword
};

// Registry value types (the advapi32 numbers).
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegDword = 4;

// Access rights a key is opened with (the advapi32 numbers).
inline constexpr uint32_t kKeyQueryValue = 0x0001;

// A value as RegQueryValueEx hands it over: its type and its stored bytes (a string's
// terminating NUL among them when it was stored with one; text is UTF-8).
struct RawRegistryValue {
  uint32_t type = 0;
  std::string bytes;
};

// The registry by full value path ("HKCU\Software\...\Name"; a path ending in "\" names the
// key's default value). Real: advapi32 (win32). Fake: SimRegistry.
class Registry {
 public:
  virtual ~Registry() = default;

  // Fails with an Error when the key or the value is missing.
  virtual RegistryValue Read(const std::string& path) = 0;
  // Opens the key with the access rights asked for (RegOpenKeyEx) and reads the value; none when
  // the key cannot be opened so, or the key or the value is missing.
  virtual std::optional<RawRegistryValue> ReadRaw(const std::string& path, uint32_t access) = 0;
  // Creates the key as needed.
  virtual void WriteString(const std::string& path, const std::string& value) = 0;
  virtual void WriteDword(const std::string& path, uint32_t value) = 0;
  // Fails with an Error when the value is missing.
  virtual void Delete(const std::string& path) = 0;
  // Names of the values of a key ("" for the default value); none when the key is missing.
  virtual std::vector<std::string> ValueNames(const std::string& key_path) = 0;
};

}  // namespace windlock
