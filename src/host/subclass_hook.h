#pragma once

#include "platform/window_system.h"

namespace windlock {

class Band;

// Subclasses a band's bar window so that its focus messages reach the band. The window carries
// the band (without a reference) and the procedure it had before, as two properties.
void HookWindow(WindowSystem& windows, WindowHandle window, Band& band);
void UnhookWindow(WindowSystem& windows, WindowHandle window);
// The procedure of a hooked window: hands the message to the band, and lets the window go when
// it is destroyed or the band fails; without a band it passes the message on.
intptr_t HookWindowProc(WindowSystem& windows, const WindowMessage& message);

// The procedure a window had before it was hooked, or 0.
WindowProcedure OldWindowProcedure(WindowSystem& windows, WindowHandle window);

}  // namespace windlock
