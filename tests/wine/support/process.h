#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

inline constexpr DWORD kTimedOut = 0xFFFF0001;
inline constexpr DWORD kNotStarted = 0xFFFF0002;

// A program a test starts; one still running when this goes is ended. With `output`, the
// program's standard output and error go to that (inheritable) handle.
class ChildProcess {
 public:
  // Fails the running test when the program cannot be started.
  explicit ChildProcess(const std::wstring& command_line, HANDLE output = nullptr);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  HANDLE handle() const { return process_.hProcess; }
  DWORD id() const { return process_.dwProcessId; }

  // Waits for the program to end, pumping this thread's messages meanwhile (the test's windows
  // stay responsive to anything the program sends them); its exit code, or kTimedOut when it
  // still runs after `time_limit_ms`, or kNotStarted.
  DWORD Wait(DWORD time_limit_ms);
  void End();

 private:
  PROCESS_INFORMATION process_ = {};
};

struct ProcessResult {
  DWORD exit_code = 0;
  // Standard output and standard error together.
  std::string output;
};

// Runs a command line and waits for it; a program that runs past `time_limit_ms` is ended.
ProcessResult RunProcess(const std::wstring& command_line, DWORD time_limit_ms = 60000);

// regsvr32 with `switches` ("/s", "/s /u /i", ...) on the DLL under test.
ProcessResult Regsvr32(const std::wstring& switches);

// The visible top-level window of class `window_class` that the process made, once it answers
// messages; nullptr when there is none within `time_limit_ms`.
HWND WaitForWindow(DWORD process_id, const wchar_t* window_class, DWORD time_limit_ms);

}  // namespace windlock_test
