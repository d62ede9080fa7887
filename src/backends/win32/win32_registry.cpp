#include "backends/win32/win32_registry.h"

#include <cstring>

#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/registry_key_path.h"

namespace windlock::win32 {
namespace {

struct ValuePath {
  KeyPath key;
  std::wstring name;
};

ValuePath SplitValuePath(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) throw ErrorFromWin32(ERROR_BAD_PATHNAME);
  return {SplitKeyPath(path.substr(0, slash)), Widen(path.substr(slash + 1))};
}

void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS) throw ErrorFromWin32(static_cast<DWORD>(status));
}

void Open(const KeyPath& key, REGSAM access, RegistryKey& opened) {
  Check(RegOpenKeyExW(key.root, key.subkey.c_str(), 0, access, opened.Put()));
}

void Create(const KeyPath& key, RegistryKey& created) {
  Check(RegCreateKeyExW(key.root, key.subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        created.Put(), nullptr));
}

}  // namespace

RegistryValue Win32Registry::Read(const std::string& path) {
  ValuePath value_path = SplitValuePath(path);
  RegistryKey key;
  Open(value_path.key, KEY_QUERY_VALUE, key);
  DWORD type = 0;
  DWORD size = 0;
  Check(RegQueryValueExW(key.get(), value_path.name.c_str(), nullptr, &type, nullptr, &size));
  std::wstring data;
  for (;;) {
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    LSTATUS status = RegQueryValueExW(key.get(), value_path.name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &capacity);
    if (status == ERROR_MORE_DATA) {
      size = capacity;
      continue;
    }
    Check(status);
    size = capacity;
    break;
  }
  RegistryValue value;
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    value.kind = RegistryValue::Kind::kDword;
    std::memcpy(&value.dword, data.data(), sizeof(DWORD));
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::size_t chars = size / sizeof(wchar_t);
    while (chars > 0 && data[chars - 1] == L'\0') --chars;
    value.kind = RegistryValue::Kind::kString;
    value.text = Narrow(std::wstring_view(data.data(), chars));
  }
  return value;
}

std::optional<RawRegistryValue> Win32Registry::ReadRaw(const std::string& path, uint32_t access) {
  ValuePath value_path = SplitValuePath(path);
  RegistryKey key;
  if (RegOpenKeyExW(value_path.key.root, value_path.key.subkey.c_str(), 0, access, key.Put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  std::string data;
  for (;;) {
    LSTATUS status = RegQueryValueExW(key.get(), value_path.name.c_str(), nullptr, &type,
                                      size ? reinterpret_cast<BYTE*>(data.data()) : nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && data.size() < size)) {
      data.assign(size, '\0');
      continue;
    }
    Check(status);
    data.resize(size);
    break;
  }
  if (type != REG_SZ) return RawRegistryValue{type, std::move(data)};
  // The characters become UTF-8; a terminating NUL character stays one NUL byte.
  std::wstring_view chars(reinterpret_cast<const wchar_t*>(data.data()),
                          data.size() / sizeof(wchar_t));
  bool terminated = !chars.empty() && chars.back() == L'\0';
  if (terminated) chars.remove_suffix(1);
  std::string bytes = Narrow(chars);
  if (terminated) bytes += '\0';
  return RawRegistryValue{type, std::move(bytes)};
}

void Win32Registry::WriteString(const std::string& path, const std::string& value) {
  ValuePath value_path = SplitValuePath(path);
  RegistryKey key;
  Create(value_path.key, key);
  std::wstring wide = Widen(value);
  Check(RegSetValueExW(key.get(), value_path.name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))));
}

void Win32Registry::WriteDword(const std::string& path, uint32_t value) {
  ValuePath value_path = SplitValuePath(path);
  RegistryKey key;
  Create(value_path.key, key);
  DWORD data = value;
  Check(RegSetValueExW(key.get(), value_path.name.c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&data), sizeof data));
}

void Win32Registry::Delete(const std::string& path) {
  ValuePath value_path = SplitValuePath(path);
  RegistryKey key;
  Open(value_path.key, KEY_SET_VALUE, key);
  Check(RegDeleteValueW(key.get(), value_path.name.c_str()));
}

std::vector<std::string> Win32Registry::ValueNames(const std::string& key_path) {
  std::vector<std::string> names;
  KeyPath path = SplitKeyPath(key_path);
  RegistryKey key;
  if (RegOpenKeyExW(path.root, path.subkey.c_str(), 0, KEY_QUERY_VALUE, key.Put()) !=
      ERROR_SUCCESS) {
    return names;
  }
  DWORD longest = 0;
  Check(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest, nullptr, nullptr, nullptr));
  std::wstring name(longest + 1, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    LSTATUS status =
        RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    Check(status);
    names.push_back(Narrow(std::wstring_view(name.data(), length)));
  }
  return names;
}

}  // namespace windlock::win32
