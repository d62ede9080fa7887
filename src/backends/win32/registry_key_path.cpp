#include "backends/win32/registry_key_path.h"

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

KeyPath SplitKeyPath(const std::string& key_path) {
  std::size_t slash = key_path.find('\\');
  std::string root = key_path.substr(0, slash);
  std::wstring subkey = slash == std::string::npos ? L"" : Widen(key_path.substr(slash + 1));
  if (root == "HKCU" || root == "HKEY_CURRENT_USER") return {HKEY_CURRENT_USER, subkey};
  if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") return {HKEY_LOCAL_MACHINE, subkey};
  if (root == "HKCR" || root == "HKEY_CLASSES_ROOT") return {HKEY_CLASSES_ROOT, subkey};
  throw ErrorFromWin32(ERROR_BAD_PATHNAME);
}

}  // namespace windlock::win32
