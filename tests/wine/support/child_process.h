#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

// A program a test starts and keeps talking to while it runs (a window of its own, say); one
// still running when this goes is ended.
class ChildProcess {
 public:
  // Fails the running test when the program cannot be started.
  explicit ChildProcess(const std::wstring& command_line);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  HANDLE handle() const { return process_.hProcess; }
  DWORD id() const { return process_.dwProcessId; }

  // Waits for the program to end, pumping this thread's messages meanwhile; its exit code, or
  // kTimedOut (process.h) when it still runs after `time_limit_ms`.
  DWORD Wait(DWORD time_limit_ms);

 private:
  PROCESS_INFORMATION process_ = {};
};

// The visible top-level window of class `window_class` that the process made, once it answers
// messages; nullptr when there is none within `time_limit_ms`.
HWND WaitForWindow(DWORD process_id, const wchar_t* window_class, DWORD time_limit_ms);

}  // namespace windlock_test
