#pragma once

#include "platform/help.h"

namespace windlock::win32 {

// HtmlHelpW from hhctrl.ocx, loaded on first use and kept for the life of the process: its
// windows belong to it and outlive any one call.
class Win32Help : public Help {
 public:
  void HtmlHelp(const std::string& target, uint32_t command, uint32_t data) override;
};

}  // namespace windlock::win32
