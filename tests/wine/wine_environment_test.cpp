// Run first, as the setup of every other Wine test: the prefix exists, and a Windows program can
// open windows and run the system's own programs with their output captured. When this fails,
// the other tests are not run, as their failures would only repeat it.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/process.h"

namespace windlock_test {
namespace {

TEST(WineEnvironmentTest, WindowsOpenOnTheDisplay) {
  HWND window = CreateWindowExW(0, L"STATIC", L"check", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, window) << "error " << GetLastError();
  EXPECT_TRUE(IsWindowVisible(window));
  DestroyWindow(window);
}

// regsvr32 and reg are the ones the tests run.
TEST(WineEnvironmentTest, SystemProgramsRunWithTheirOutputCaptured) {
  ProcessResult result = RunProcess(L"reg.exe query \"HKLM\\Software\\Microsoft\\Windows NT\"");
  EXPECT_EQ(0u, result.exit_code) << result.output;
  EXPECT_NE(std::string::npos, result.output.find("CurrentVersion")) << result.output;
  wchar_t system[MAX_PATH] = {};
  ASSERT_NE(0u, GetSystemDirectoryW(system, MAX_PATH));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES,
            GetFileAttributesW((std::wstring(system) + L"\\regsvr32.exe").c_str()));
}

}  // namespace
}  // namespace windlock_test
