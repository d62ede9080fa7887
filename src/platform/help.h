#pragma once

#include <cstdint>
#include <string>

namespace windlock {

inline constexpr uint32_t kHhDisplayTopic = 0;
inline constexpr uint32_t kHhHelpContext = 15;

// HtmlHelpA with no owner window. Real: hhctrl.ocx (win32). Fake: SimHelp, which records the
// calls.
class Help {
 public:
  virtual ~Help() = default;
  virtual void HtmlHelp(const std::string& target, uint32_t command, uint32_t data) = 0;
};

}  // namespace windlock
