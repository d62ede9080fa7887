#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "backends/sim/sim_trace.h"
#include "platform/help.h"

namespace windlock::sim {

struct HelpCall {
  std::string target;
  uint32_t command = 0;
  uint32_t data = 0;
};

// The help viewer: records the last call.
class SimHelp : public Help {
 public:
  explicit SimHelp(const SimTrace& trace) : trace_(trace) {}

  void HtmlHelp(const std::string& target, uint32_t command, uint32_t data) override;

  const std::optional<HelpCall>& last_call() const { return last_call_; }

 private:
  const SimTrace& trace_;
  std::optional<HelpCall> last_call_;
};

}  // namespace windlock::sim
