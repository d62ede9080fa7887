#pragma once

#include <windows.h>

#include <utility>

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

// An open registry key, closed when it goes.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }
  HKEY get() const { return key_; }
  // Closes the key held and hands out the slot for a function to fill.
  HKEY* Put() {
    Close();
    return &key_;
  }

 private:
  void Close() {
    if (key_) RegCloseKey(std::exchange(key_, nullptr));
  }

  HKEY key_ = nullptr;
};

// The root and the subkey of a full key path ("HKCU\Software\..."); fails on an unknown root.
struct KeyPath {
  HKEY root;
  std::wstring subkey;
};
KeyPath SplitKeyPath(const std::string& key_path);

}  // namespace windlock::win32
