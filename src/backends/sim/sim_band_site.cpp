#include "backends/sim/sim_band_site.h"

namespace windlock::sim {

void SimBandSite::OnFocusChangeIS(bool has_focus) {
  focus_reports_.push_back(has_focus);
  trace_(std::string("focus-report ") + (has_focus ? "true" : "false"));
}

}  // namespace windlock::sim
