#include "command_line.h"

#include <windows.h>

namespace windlock::host {
namespace {

bool IsBarSwitch(const std::wstring& argument) {
  if (argument.size() != 4 || (argument[0] != L'/' && argument[0] != L'-')) return false;
  return CompareStringOrdinal(argument.c_str() + 1, 3, L"bar", 3, TRUE) == CSTR_EQUAL;
}

}  // namespace

HostOptions ParseArguments(std::span<const std::wstring> arguments) {
  HostOptions options;
  bool have_url = false;
  for (const std::wstring& argument : arguments) {
    if (IsBarSwitch(argument)) {
      options.show_bar = true;
    } else if (!have_url && !argument.empty()) {
      options.url = argument;
      have_url = true;
    }
  }
  return options;
}

}  // namespace windlock::host
