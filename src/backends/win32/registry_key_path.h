#pragma once

#include <windows.h>

#include <string>

namespace windlock::win32 {

// The root and the subkey of a full key path ("HKCU\Software\..."); fails on an unknown root.
struct KeyPath {
  HKEY root;
  std::wstring subkey;
};
KeyPath SplitKeyPath(const std::string& key_path);

}  // namespace windlock::win32
