// Windlock-Setup-<version>.exe run silently in the prefix as an administrator runs it, and its
// uninstaller after it: what each puts on the machine and takes away again.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

using windlock::win32::ComPtr;

constexpr const wchar_t* kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Windlock";

// Everything the installer places, relative to its folder.
const std::vector<std::wstring> kInstalledFiles = {L"LKIEWindlock.dll",
                                                   L"WindlockHost.exe",
                                                   L"Uninstall.exe",
                                                   L"LarkspanLoading.avi",
                                                   L"windlock.chm",
                                                   L"safeshutdown.htm",
                                                   L"Skins\\Meadow\\Meadow.htm",
                                                   L"Skins\\Meadow\\Meadow.xml",
                                                   L"Skins\\Night\\Night.htm",
                                                   L"Skins\\Night\\sky.svg"};

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  EXPECT_EQ(S_OK, SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path));
  return path;
}

// This test program is a 64-bit one: its Program Files is the 64-bit folder.
std::wstring InstallFolder() {
  return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Windlock";
}
std::wstring Shortcut() {
  return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Windlock Host.lnk";
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A registry string that names a path, compared as Windows compares paths.
void ExpectPath(const std::wstring& expected, const std::optional<std::wstring>& value) {
  ASSERT_TRUE(value);
  EXPECT_TRUE(SamePath(expected, *value)) << Narrow(*value);
}

// The machine field of a program's PE header.
std::uint16_t ProgramMachine(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  std::uint32_t header = 0;
  file.seekg(0x3C);
  file.read(reinterpret_cast<char*>(&header), sizeof header);
  std::uint16_t machine = 0;
  file.seekg(header + 4);
  file.read(reinterpret_cast<char*>(&machine), sizeof machine);
  return file ? machine : 0;
}

class InstallerTest : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  // Leaves the prefix the other tests share as it was.
  void TearDown() override { Clean(); }

  static void Clean() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(InstallFolder()), ignored);
    DeleteFileW(Shortcut().c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveRegistration();
    DeleteSettings();
  }

  static void Install() {
    ProcessResult result = RunProcess(L"\"" + WindowsPath(WINDLOCK_INSTALLER_EXE) + L"\" /S");
    ASSERT_EQ(0u, result.exit_code) << result.output;
  }

  // The uninstaller copies itself to a temporary folder and returns at once unless told where
  // the installation is with _?=, when it runs in place and so cannot remove itself.
  static void Uninstall() {
    std::wstring folder = InstallFolder();
    ProcessResult result = RunProcess(L"\"" + folder + L"\\Uninstall.exe\" /S _?=" + folder);
    ASSERT_EQ(0u, result.exit_code) << result.output;
  }
};

TEST_F(InstallerTest, SilentInstallPlacesTheMachinesKindAndRegistersTheBar) {
  ASSERT_NO_FATAL_FAILURE(Install());

  std::wstring folder = InstallFolder();
  for (const std::wstring& file : kInstalledFiles) {
    EXPECT_TRUE(FileExists(folder + L"\\" + file)) << Narrow(file);
  }
  // The installer is a 32-bit program; on 64-bit Windows it still installs the x64 pieces.
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, ProgramMachine(folder + L"\\LKIEWindlock.dll"));
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, ProgramMachine(folder + L"\\WindlockHost.exe"));

  // Registered by the 64-bit regsvr32 /i: the class in the 64-bit view, and the bar's entry.
  ExpectPath(folder + L"\\LKIEWindlock.dll",
             ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));

  EXPECT_EQ(std::wstring(L"Windlock"),
            ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"));
  EXPECT_EQ(Widen(WINDLOCK_VERSION_TEXT),
            ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"));
  EXPECT_EQ(std::wstring(L"Larkspan"), ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"));
  const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
  ExpectPath(uninstaller, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"));
  ExpectPath(uninstaller + L" /S",
             ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"));

  // The Start-menu shortcut starts the host with the bar shown.
  ComPtr<IShellLinkW> link;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(link.Put())));
  ComPtr<IPersistFile> file;
  ASSERT_EQ(S_OK, link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())));
  ASSERT_EQ(S_OK, file->Load(Shortcut().c_str(), STGM_READ));
  wchar_t target[MAX_PATH] = {};
  ASSERT_EQ(S_OK, link->GetPath(target, MAX_PATH, nullptr, 0));
  EXPECT_TRUE(SamePath(folder + L"\\WindlockHost.exe", target)) << Narrow(target);
  wchar_t arguments[MAX_PATH] = {};
  ASSERT_EQ(S_OK, link->GetArguments(arguments, MAX_PATH));
  EXPECT_EQ(std::wstring(L"/bar"), arguments);
}

TEST_F(InstallerTest, SilentUninstallRemovesWhatItInstalledAndKeepsTheUsersSettings) {
  ASSERT_NO_FATAL_FAILURE(Install());
  WriteDword(HKEY_CURRENT_USER, kOptionsKey, L"Sound", 0);
  // A file of the user's in the program folder is not the installer's to remove.
  std::wstring folder = InstallFolder();
  std::wstring own_file = folder + L"\\notes.txt";
  std::ofstream(std::filesystem::path(own_file)) << "mine";

  ASSERT_NO_FATAL_FAILURE(Uninstall());

  for (const std::wstring& file : kInstalledFiles) {
    if (file != L"Uninstall.exe") {
      EXPECT_FALSE(FileExists(folder + L"\\" + file)) << Narrow(file);
    }
  }
  EXPECT_FALSE(FileExists(folder + L"\\Skins"));
  EXPECT_FALSE(FileExists(Shortcut()));
  EXPECT_TRUE(FileExists(own_file));

  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(DWORD{0}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Sound"));
}

}  // namespace
}  // namespace windlock_test
