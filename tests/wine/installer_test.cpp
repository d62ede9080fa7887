// Windlock-Setup-<version>-x64.exe run silently in the prefix as an administrator runs it, and its
// uninstaller after it: what each puts on the machine and takes away again.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
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
constexpr const wchar_t* kSessionManagerKey =
    L"System\\CurrentControlSet\\Control\\Session Manager";
// What an uninstaller returns when a restart finishes its work.
constexpr DWORD kRebootRequired = 3010;

// What each folder holds: the data beside each kind's DLL, and the host and the uninstaller
// beside the x64 one.
const std::vector<std::wstring> kDataFiles = {
    L"LarkspanLoading.avi",       L"windlock.chm",
    L"safeshutdown.htm",          L"Skins\\Meadow\\Meadow.htm",
    L"Skins\\Meadow\\Meadow.xml", L"Skins\\Night\\Night.htm",
    L"Skins\\Night\\sky.svg"};
const std::vector<std::wstring> kMainFiles = {L"LKIEWindlock.dll", L"WindlockHost.exe",
                                              L"Uninstall.exe"};

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

// Whether this Windows starts 32-bit programs: 64-bit-only Wine does not.
bool Runs32BitPrograms() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(windows) + L"\\SysWOW64\\cmd.exe\" /c exit 0";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The Active Setup entry's command for every user's first logon, ready to run.
std::wstring StubCommand() {
  std::optional<std::wstring> stub = ReadString(HKEY_LOCAL_MACHINE, kActiveSetupKey, L"StubPath");
  EXPECT_TRUE(stub);
  if (!stub) return L"";
  wchar_t expanded[2048] = {};
  ExpandEnvironmentStringsW(stub->c_str(), expanded, 2048);
  return expanded;
}

// The files Windows deletes when it restarts (pairs of source and empty target).
std::vector<std::wstring> PendingDeletes() {
  std::vector<wchar_t> data(32768);
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  std::vector<std::wstring> files;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations",
                   RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS) {
    return files;
  }
  for (const wchar_t* entry = data.data(); *entry;) {
    std::wstring source = entry;
    entry += source.size() + 1;
    std::wstring target = entry;
    entry += target.size() + 1;
    if (target.empty()) files.push_back(source);
  }
  return files;
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

  std::wstring folder = InstallFolder();
  for (const std::wstring& file : kMainFiles) {
    EXPECT_TRUE(FileExists(folder + L"\\" + file)) << Narrow(file);
  }
  for (const std::wstring& in : {folder, X86Folder()}) {
    for (const std::wstring& file : kDataFiles) {
      EXPECT_TRUE(FileExists(in + L"\\" + file)) << Narrow(in + L"\\" + file);
    }
  }
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, ProgramMachine(folder + L"\\LKIEWindlock.dll"));
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, ProgramMachine(folder + L"\\WindlockHost.exe"));
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, ProgramMachine(X86Folder() + L"\\LKIEWindlock.dll"));

  // Registered by the 64-bit regsvr32 /i: the class in the 64-bit view, the bar's entry and
  // the Active Setup entry.
  ExpectPath(folder + L"\\LKIEWindlock.dll",
             ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_EQ(std::wstring(L"Windlock"), ReadString(HKEY_LOCAL_MACHINE, kActiveSetupKey, L""));
  std::wstring version = Widen(WINDLOCK_VERSION_TEXT);
  std::replace(version.begin(), version.end(), L'.', L',');
  EXPECT_EQ(version, ReadString(HKEY_LOCAL_MACHINE, kActiveSetupKey, L"Version"));

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

// The browser's 32-bit tab processes load the x86 DLL, registered in the 32-bit view.
TEST_F(InstallerTest, SilentInstallRegistersTheX86BarWhereWindowsRuns32BitPrograms) {
  if (!Runs32BitPrograms()) GTEST_SKIP() << "this Wine runs no 32-bit programs";
  ASSERT_NO_FATAL_FAILURE(Install());

  ExpectPath(X86Folder() + L"\\LKIEWindlock.dll",
             ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"", View::k32Bit));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey, View::k32Bit));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey, View::k32Bit));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey, View::k32Bit));

  EXPECT_EQ(0u, Uninstall());
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey, View::k32Bit));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey, View::k32Bit));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey, View::k32Bit));
}

// The installer for 32-bit Windows sends a 64-bit one to the x64 installer and changes nothing.
TEST_F(InstallerTest, X86InstallerRefusesA64BitWindows) {
  if (!Runs32BitPrograms()) GTEST_SKIP() << "this Wine runs no 32-bit programs";
  ProcessResult result = RunProcess(L"\"" + WindowsPath(WINDLOCK_INSTALLER_X86) + L"\" /S");
  EXPECT_EQ(2u, result.exit_code) << result.output;
  EXPECT_FALSE(FileExists(InstallFolder()));
  EXPECT_FALSE(FileExists(X86Folder()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// What Windows runs at each user's first logon after the install: the defaults for a user with
// nothing stored, and nothing for one who has settings, however few.
TEST_F(InstallerTest, ActiveSetupGivesEveryOtherUserTheDefaultsOnce) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const std::wstring stub = StubCommand();
  ASSERT_FALSE(stub.empty());
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

  for (const std::wstring& file : kMainFiles) {
    if (file != L"Uninstall.exe") {
      EXPECT_FALSE(FileExists(folder + L"\\" + file)) << Narrow(file);
    }
  }
  for (const std::wstring& file : kDataFiles) {
    EXPECT_FALSE(FileExists(folder + L"\\" + file)) << Narrow(file);
  }
  EXPECT_FALSE(FileExists(folder + L"\\Skins"));
  EXPECT_FALSE(FileExists(X86Folder()));
  EXPECT_FALSE(FileExists(Shortcut()));
  EXPECT_TRUE(FileExists(own_file));
  EXPECT_TRUE(PendingDeletes().empty());

  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
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

  std::vector<std::wstring> pending = PendingDeletes();
  // Windows keeps them as NT paths (\??\C:\...), folders with a backslash at the end.
  auto scheduled = [&](const std::wstring& path) {
    for (const std::wstring& entry : pending) {
      if (entry.size() >= path.size() && SamePath(path, entry.substr(entry.size() - path.size())))
        return true;
    }
    return false;
  };
  EXPECT_TRUE(scheduled(held));
  // The folder after it, to go with it.
  EXPECT_TRUE(scheduled(InstallFolder() + L"\\"));
  EXPECT_FALSE(FileExists(InstallFolder() + L"\\LKIEWindlock.dll"));
}

}  // namespace
}  // namespace windlock_test
