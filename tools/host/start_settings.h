#pragma once

#include "platform/registry.h"

namespace windlock::host {

// Whether a new window starts with the bar, by the user's settings: the bar starts by itself
// ("Always start when IE starts"), shown when "Always Start Visible" is set or it was shown when
// a window last closed. Missing or unreadable settings start no bar.
bool BarStartsItself(Registry& registry);

}  // namespace windlock::host
