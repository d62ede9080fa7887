#include "support/process.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/dll_under_test.h"
#include "support/messages.h"

namespace windlock_test {

ChildProcess::ChildProcess(const std::wstring& command_line, HANDLE output) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
  }
  std::wstring writable = command_line;
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, output != nullptr,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process_)) {
    ADD_FAILURE() << "cannot start " << Narrow(command_line) << ", error " << GetLastError();
    process_ = {};
    return;
  }
  CloseHandle(process_.hThread);
}

ChildProcess::~ChildProcess() {
  if (!started()) return;
  End();
  CloseHandle(process_.hProcess);
}

void ChildProcess::End() {
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, INFINITE);
  }
}

DWORD ChildProcess::Wait(DWORD time_limit_ms) {
  if (!started()) return kNotStarted;
  const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return kTimedOut;
    if (MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT) == WAIT_OBJECT_0) {
      break;
    }
    PumpMessages();
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process_.hProcess, &exit_code);
  return exit_code;
}

ProcessResult RunProcess(const std::wstring& command_line, DWORD time_limit_ms) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return {kNotStarted, "CreatePipe failed"};
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  ProcessResult result;
  {
    ChildProcess child(command_line, write_end);
    // Only the child holds the write end now, so the reader sees the end of the output when the
    // child is gone.
    CloseHandle(write_end);
    std::thread reader([&] {
      char buffer[4096];
      DWORD count = 0;
      while (ReadFile(read_end, buffer, sizeof(buffer), &count, nullptr) && count > 0)
        result.output.append(buffer, count);
    });
    result.exit_code = child.Wait(time_limit_ms);
    if (child.started()) child.End();
    reader.join();
  }
  CloseHandle(read_end);
  if (result.exit_code == kTimedOut) result.output += "\n(ended after the time limit)";
  return result;
}

ProcessResult Regsvr32(const std::wstring& switches) {
  return RunProcess(L"regsvr32.exe " + switches + L" \"" + DllPath() + L"\"");
}

HWND WaitForWindow(DWORD process_id, const wchar_t* window_class, DWORD time_limit_ms) {
  const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
  do {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, window_class, nullptr))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(found, &owner);
      DWORD_PTR answer = 0;
      if (owner == process_id && IsWindowVisible(found) &&
          SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
        return found;
      }
    }
    PumpMessages();
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

}  // namespace windlock_test
