#include "backends/win32/win32_preview_control.h"

namespace windlock::win32 {

Win32PreviewControl::Win32PreviewControl(HostedControls& registry, const Control& holder)
    : pane_(registry, holder), browser_(pane_.host().browser()) {}

}  // namespace windlock::win32
