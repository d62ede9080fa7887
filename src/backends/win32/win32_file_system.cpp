#include "backends/win32/win32_file_system.h"

#include <windows.h>

#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

// A search of FindFirstFileW, closed when it goes.
using FindHandle = UniqueHandle<HANDLE, &FindClose>;

// A junction or a symbolic link: removing it removes the link, never what it points to.
bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void RemoveEmptyFolder(const std::wstring& folder) {
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!RemoveDirectoryW(folder.c_str())) throw ErrorFromWin32(GetLastError());
}

// The search of the entries in `folder`, the first of them in `found`; empty (with the system's
// error as the last error) when it cannot start.
FindHandle FindEntries(const std::wstring& folder, WIN32_FIND_DATAW& found) {
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  return FindHandle(search == INVALID_HANDLE_VALUE ? nullptr : search);
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32FileSystem::SubFolders(const std::string& path) {
  if (!FolderExists(path)) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  FindHandle search = FindEntries(Widen(path), found);
  if (!search) return names;
  do {
    std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
      names.push_back(Narrow(name));
    }
  } while (FindNextFileW(search.get(), &found));
  return names;
}

void Win32FileSystem::RemoveFolder(const std::string& path) {
  std::wstring folder = Widen(path);
  // A link to a folder elsewhere (the skin folder itself, or one inside it) goes alone, and so a
  // cycle of links ends too.
  if (IsLink(GetFileAttributesW(folder.c_str()))) return RemoveEmptyFolder(folder);
  WIN32_FIND_DATAW found;
  FindHandle search = FindEntries(folder, found);
  if (!search) throw ErrorFromWin32(GetLastError());
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring child = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveFolder(Narrow(child));
    } else {
      // Read-only files go too.
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(child.c_str())) throw ErrorFromWin32(GetLastError());
    }
  } while (FindNextFileW(search.get(), &found));
  // The folder can go only once nothing has it open.
  search.Reset();
  RemoveEmptyFolder(folder);
}

std::string Win32FileSystem::ProgramFolder() {
  std::wstring path = ModulePath();
  return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

}  // namespace windlock::win32
