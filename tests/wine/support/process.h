#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace windlock_test {

struct ProcessResult {
  // The exit code, or kTimedOut / kNotStarted.
  DWORD exit_code = 0;
  // Standard output and standard error together.
  std::string output;
};

inline constexpr DWORD kTimedOut = 0xFFFF0001;
inline constexpr DWORD kNotStarted = 0xFFFF0002;

// Runs a command line and waits for it, pumping this thread's messages meanwhile (the test's
// windows stay responsive to anything the child sends them). A child that runs past
// `time_limit_ms` is ended.
ProcessResult RunProcess(const std::wstring& command_line, DWORD time_limit_ms = 60000);

// regsvr32 with `switches` ("/s", "/s /u /i", ...) on the DLL under test.
ProcessResult Regsvr32(const std::wstring& switches);

// One value as `reg query` shows it: its type name (REG_SZ, REG_DWORD, ...) and its data text.
struct RegQueryValue {
  std::string type;
  std::string data;
};

// The name reg shows for a key's unnamed value (in an English system, as Wine's is).
inline constexpr const char* kRegDefaultValueName = "(Default)";

// The values of a key by name, as `reg query "KEY"` lists them; nothing when reg finds no such
// key. `key` is a full path such as HKCU\Software\...
using RegQueryValues = std::map<std::string, RegQueryValue>;
std::optional<RegQueryValues> RegQueryKey(const std::wstring& key);

// `reg query "KEY" /v NAME` (or /ve for the empty name); nothing when reg finds no such value.
std::optional<RegQueryValue> RegQuery(const std::wstring& key, const std::wstring& name);

}  // namespace windlock_test
