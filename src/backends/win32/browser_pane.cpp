#include "backends/win32/browser_pane.h"

namespace windlock::win32 {

BrowserPane::BrowserPane(HostedControls& registry, const Control& holder)
    : host_(registry.parking(), RECT{0, 0, 0, 0}), registration_(registry, holder, *this) {}

}  // namespace windlock::win32
