#pragma once

#include <windows.h>

#include "platform/registry.h"

namespace windlock::win32 {

// The registry through advapi32. Paths begin with HKCU, HKLM or HKCR; the value name follows
// the last backslash (none for the key's default value).
class Win32Registry : public Registry {
 public:
  RegistryValue Read(const std::string& path) override;
  std::optional<RawRegistryValue> ReadRaw(const std::string& path, uint32_t access) override;
  void WriteString(const std::string& path, const std::string& value) override;
  void WriteDword(const std::string& path, uint32_t value) override;
  void Delete(const std::string& path) override;
  std::vector<std::string> ValueNames(const std::string& key_path) override;
};

}  // namespace windlock::win32
