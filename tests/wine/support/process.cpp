#include "support/process.h"

#include <sstream>
#include <thread>

#include "support/dll_under_test.h"

namespace windlock_test {
namespace {

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

// Pumps messages until `process` ends or the deadline passes.
bool WaitPumping(HANDLE process, DWORD time_limit_ms) {
  const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
  for (;;) {
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    DWORD wait = MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now),
                                           QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) return true;
    if (wait != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// Reads the value lines of reg's output: "    NAME    TYPE    DATA", four spaces apart (names and
// data may hold single spaces). The lines of subkeys are not indented and are left out.
RegQueryValues ParseRegQuery(const std::string& output) {
  static const std::string kIndent = "    ";
  static const std::string kTypeStart = "    REG_";
  RegQueryValues values;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, kIndent.size(), kIndent) != 0) continue;
    std::size_t type_start = line.find(kTypeStart, kIndent.size());
    if (type_start == std::string::npos) continue;
    std::string name = line.substr(kIndent.size(), type_start - kIndent.size());
    std::string rest = line.substr(type_start + kIndent.size());
    std::size_t end_of_type = rest.find(kIndent);
    RegQueryValue value;
    value.type = rest.substr(0, end_of_type);
    if (end_of_type != std::string::npos) value.data = rest.substr(end_of_type + kIndent.size());
    values[name] = value;
  }
  return values;
}

}  // namespace

ProcessResult RunProcess(const std::wstring& command_line, DWORD time_limit_ms) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
    result.exit_code = kNotStarted;
    result.output = "CreatePipe failed";
    return result;
  }
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  PROCESS_INFORMATION process = {};
  std::wstring writable = command_line;
  BOOL started = CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                nullptr, nullptr, &startup, &process);
  DWORD start_error = GetLastError();
  // Only the child holds the write end now, so the reader sees the end of the output when the
  // child is gone.
  CloseHandle(write_end);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!started) {
    CloseHandle(read_end);
    result.exit_code = kNotStarted;
    result.output = "CreateProcess failed for " + Narrow(command_line) + ", error " +
                    std::to_string(start_error);
    return result;
  }

  std::string output;
  std::thread reader([&] {
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(read_end, buffer, sizeof(buffer), &count, nullptr) && count > 0)
      output.append(buffer, count);
  });
  if (WaitPumping(process.hProcess, time_limit_ms)) {
    GetExitCodeProcess(process.hProcess, &result.exit_code);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    result.exit_code = kTimedOut;
  }
  reader.join();
  CloseHandle(read_end);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.output = output;
  if (result.exit_code == kTimedOut) result.output += "\n(ended after the time limit)";
  return result;
}

ProcessResult Regsvr32(const std::wstring& switches) {
  return RunProcess(L"regsvr32.exe " + switches + L" " + Quoted(DllPath()));
}

std::optional<RegQueryValues> RegQueryKey(const std::wstring& key) {
  ProcessResult result = RunProcess(L"reg.exe query " + Quoted(key));
  if (result.exit_code != 0) return std::nullopt;
  return ParseRegQuery(result.output);
}

std::optional<RegQueryValue> RegQuery(const std::wstring& key, const std::wstring& name) {
  std::wstring command = L"reg.exe query " + Quoted(key);
  command += name.empty() ? L" /ve" : L" /v " + Quoted(name);
  ProcessResult result = RunProcess(command);
  if (result.exit_code != 0) return std::nullopt;
  RegQueryValues values = ParseRegQuery(result.output);
  auto value = values.find(name.empty() ? kRegDefaultValueName : Narrow(name));
  if (value == values.end()) return std::nullopt;
  return value->second;
}

}  // namespace windlock_test
