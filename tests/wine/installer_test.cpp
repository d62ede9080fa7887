// Windlock-Setup-<version>-x64.exe run silently in the prefix as an administrator runs it, and its
// uninstaller after it: what each puts on the machine and takes away again.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "backends/win32/com/com_ptr.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

using windlock::win32::ComPtr;

const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Windlock";
constexpr const wchar_t* kSessionManagerKey =
    L"System\\CurrentControlSet\\Control\\Session Manager";
// What an uninstaller returns when a restart finishes its work.
constexpr DWORD kRebootRequired = 3010;

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  EXPECT_EQ(S_OK, SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path));
  return path;
}

// This test program is a 64-bit one: its Program Files is the 64-bit folder.
std::wstring InstallFolder() {
  return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Windlock";
}
std::wstring X86Folder() {
  return ShellFolder(CSIDL_PROGRAM_FILESX86) + L"\\Windlock";
}
std::wstring Shortcut() {
  return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Windlock Host.lnk";
}

// Every file the installer places: the host and the uninstaller beside the x64 DLL, and the data
// beside each kind's DLL.
std::vector<std::wstring> InstalledFiles() {
  std::vector<std::wstring> files = {InstallFolder() + L"\\WindlockHost.exe",
                                     InstallFolder() + L"\\Uninstall.exe"};
  for (const std::wstring& folder : {InstallFolder(), X86Folder()}) {
    for (const wchar_t* file :
         {L"LKIEWindlock.dll", L"LarkspanLoading.avi", L"windlock.chm", L"safeshutdown.htm",
          L"Skins\\Meadow\\Meadow.htm", L"Skins\\Meadow\\Meadow.xml", L"Skins\\Night\\Night.htm",
          L"Skins\\Night\\sky.svg"}) {
      files.push_back(folder + L"\\" + file);
    }
  }
  return files;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

// The Active Setup entry's command for every user's first logon, ready to run.
std::wstring StubCommand() {
  wchar_t expanded[2048] = {};
  ExpandEnvironmentStringsW(
      ReadString(HKEY_LOCAL_MACHINE, kActiveSetupKey, L"StubPath").value_or(L"").c_str(), expanded,
      2048);
  return expanded;
}

// What Windows renames when it restarts, as one text: NT paths (\??\C:\...), folders ending in a
// backslash, each followed by its new name (empty to delete), all ended by '|'.
std::wstring PendingRenames() {
  std::wstring data(32768, L'\0');
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations",
                   RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
    return L"";
  data.resize(size / sizeof(wchar_t));
  std::replace(data.begin(), data.end(), L'\0', L'|');
  return data;
}

class InstallerTest : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  // Leaves the prefix the other tests share as it was.
  void TearDown() override { Clean(); }

  static void Clean() {
    std::error_code ignored;
    for (const std::wstring& folder : {InstallFolder(), X86Folder()}) {
      std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    }
    DeleteFileW(Shortcut().c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations");
    RemoveRegistration();
    DeleteSettings();
  }

  static void Install() {
    ProcessResult result = RunProcess(L"\"" + WindowsPath(WINDLOCK_INSTALLER_X64) + L"\" /S");
    ASSERT_EQ(0u, result.exit_code) << result.output;
  }

  // The uninstaller copies itself to a temporary folder and returns at once unless told where
  // the installation is with _?=, when it runs in place and so cannot remove itself.
  static DWORD Uninstall() {
    std::wstring folder = InstallFolder();
    return RunProcess(L"\"" + folder + L"\\Uninstall.exe\" /S _?=" + folder).exit_code;
  }
};

TEST_F(InstallerTest, SilentInstallPlacesBothKindsAndRegistersTheX64Bar) {
  ASSERT_NO_FATAL_FAILURE(Install());

  for (const std::wstring& file : InstalledFiles()) EXPECT_TRUE(FileExists(file)) << Narrow(file);
  const std::wstring folder = InstallFolder();
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, ProgramMachine(folder + L"\\LKIEWindlock.dll"));
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, ProgramMachine(X86Folder() + L"\\LKIEWindlock.dll"));

  // Registered by the 64-bit regsvr32 /i (which the registration test checks whole): the class in
  // the 64-bit view and the Active Setup entry; and the Add/Remove Programs entry.
  EXPECT_EQ(folder + L"\\LKIEWindlock.dll",
            ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""));
  std::wstring version = Widen(WINDLOCK_VERSION_TEXT);
  std::replace(version.begin(), version.end(), L'.', L',');
  const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
  const struct {
    const std::wstring& key;
    const wchar_t* name;
    std::wstring value;
  } values[] = {
      {kActiveSetupKey, L"", L"Windlock"},
      {kActiveSetupKey, L"Version", version},
      {kUninstallKey, L"DisplayName", L"Windlock"},
      {kUninstallKey, L"DisplayVersion", Widen(WINDLOCK_VERSION_TEXT)},
      {kUninstallKey, L"Publisher", L"Larkspan"},
      {kUninstallKey, L"UninstallString", uninstaller},
      {kUninstallKey, L"QuietUninstallString", uninstaller + L" /S"},
  };
  for (const auto& v : values) {
    EXPECT_EQ(v.value, ReadString(HKEY_LOCAL_MACHINE, v.key, v.name)) << Narrow(v.name);
  }

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

// Where Windows runs 32-bit programs: the installer for 32-bit Windows refuses this one; the x64
// installer registers the x86 DLL, which the browser's 32-bit tab processes load, in the 32-bit
// view, and its uninstaller removes it there.
TEST_F(InstallerTest, X86PartsWhereWindowsRuns32BitPrograms) {
  // wine-run.sh says why, where its Wine runs none.
  if (const char* why = std::getenv("WINDLOCK_NO_32_BIT")) GTEST_SKIP() << why;
  EXPECT_EQ(2u, RunProcess(L"\"" + WindowsPath(WINDLOCK_INSTALLER_X86) + L"\" /S").exit_code);
  EXPECT_FALSE(FileExists(InstallFolder()));

  ASSERT_NO_FATAL_FAILURE(Install());
  EXPECT_EQ(X86Folder() + L"\\LKIEWindlock.dll",
            ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"", View::k32Bit));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey, View::k32Bit));

  EXPECT_EQ(0u, Uninstall());
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey, View::k32Bit));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey, View::k32Bit));
}

// What Windows runs at each user's first logon after the install: the defaults for a user with
// nothing stored, and nothing for one who has settings, however few.
TEST_F(InstallerTest, ActiveSetupGivesEveryOtherUserTheDefaultsOnce) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const std::wstring stub = StubCommand();
  DeleteSettings();

  ProcessResult first = RunProcess(stub);
  ASSERT_EQ(0u, first.exit_code) << Narrow(stub) << "\n" << first.output;
  EXPECT_EQ(DWORD{18}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
  EXPECT_EQ(DWORD{0}, ReadDword(HKEY_CURRENT_USER, kTrustedSitesKey, L""));

  DeleteSettings();
  WriteString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message", L"Mine");
  ASSERT_EQ(0u, RunProcess(stub).exit_code);
  EXPECT_EQ(std::wstring(L"Mine"),
            ReadString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
}

TEST_F(InstallerTest, SilentUninstallRemovesWhatItInstalledAndKeepsTheUsersSettings) {
  ASSERT_NO_FATAL_FAILURE(Install());
  WriteDword(HKEY_CURRENT_USER, kOptionsKey, L"Sound", 0);
  // A file of the user's in the program folder is not the installer's to remove.
  std::wstring folder = InstallFolder();
  std::wstring own_file = folder + L"\\notes.txt";
  std::ofstream(std::filesystem::path(own_file)) << "mine";

  ASSERT_EQ(0u, Uninstall());

  // The uninstaller runs in place here, so it stays.
  for (const std::wstring& file : InstalledFiles()) {
    EXPECT_EQ(file.ends_with(L"Uninstall.exe"), FileExists(file)) << Narrow(file);
  }
  EXPECT_FALSE(FileExists(folder + L"\\Skins"));
  EXPECT_FALSE(FileExists(X86Folder()));
  EXPECT_FALSE(FileExists(Shortcut()));
  EXPECT_TRUE(FileExists(own_file));
  EXPECT_EQ(L"", PendingRenames());

  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(DWORD{0}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Sound"));
}

// A file held open, as a running browser holds the DLL, goes when Windows restarts, and the
// uninstaller says a restart is needed.
TEST_F(InstallerTest, FileInUseAtUninstallIsRemovedAtTheNextRestart) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const std::wstring held = InstallFolder() + L"\\windlock.chm";
  HANDLE file = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);

  EXPECT_EQ(kRebootRequired, Uninstall());
  CloseHandle(file);

  // The folder after the file, to go with it.
  const std::wstring pending = PendingRenames();
  EXPECT_NE(std::wstring::npos, pending.find(L"\\??\\" + held + L"||")) << Narrow(pending);
  EXPECT_NE(std::wstring::npos, pending.find(L"\\??\\" + InstallFolder() + L"\\||"));
  EXPECT_FALSE(FileExists(InstallFolder() + L"\\LKIEWindlock.dll"));
}

}  // namespace
}  // namespace windlock_test
