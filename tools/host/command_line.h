#pragma once

#include <span>
#include <string>

namespace windlock::host {

// What the host is asked to do at start: WindlockHost.exe [/bar] [URL].
struct HostOptions {
  bool show_bar = false;
  std::wstring url = L"about:blank";
};

// Reads the arguments after the program's name. "/bar" (or "-bar", any letter case) shows the
// bar; the first other argument is the first page; later ones are ignored.
HostOptions ParseArguments(std::span<const std::wstring> arguments);

}  // namespace windlock::host
