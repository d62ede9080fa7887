#include "backends/sim/sim_help.h"

namespace windlock::sim {

void SimHelp::HtmlHelp(const std::string& target, uint32_t command, uint32_t data) {
  last_call_ = HelpCall{target, command, data};
  trace_("help " + Quote(target) + " command " + std::to_string(command) + " data " +
         std::to_string(data));
}

}  // namespace windlock::sim
