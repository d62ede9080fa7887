#include "host/subclass_hook.h"

#include "common/error.h"
#include "host/band.h"

namespace windlock {
namespace {

constexpr const char* kObjectPointer = "ObjectPointer";
constexpr const char* kOldWindowProc = "OldWindowProc";

}  // namespace

WindowProcedure OldWindowProcedure(WindowSystem& windows, WindowHandle window) {
  return windows.GetWindowProp(window, kOldWindowProc);
}

void HookWindow(WindowSystem& windows, WindowHandle window, Band& band) {
  windows.SetHookHandler(
      [&windows](const WindowMessage& message) { return HookWindowProc(windows, message); });
  windows.SetWindowProp(window, kObjectPointer, reinterpret_cast<uintptr_t>(&band));
  // Already in the window's chain (hooked, or left there by an unhook): hooking again would
  // store the hook itself as the old procedure.
  if (OldWindowProcedure(windows, window) != 0) return;
  windows.SetWindowProp(window, kOldWindowProc, windows.GetWindowProcedure(window));
  windows.SetWindowProcedure(window, windows.HookProcedure());
}

void UnhookWindow(WindowSystem& windows, WindowHandle window) {
  windows.RemoveWindowProp(window, kObjectPointer);
  WindowProcedure old_procedure = OldWindowProcedure(windows, window);
  // Whoever subclassed the window after us calls our procedure in turn: putting the old one back
  // would cut theirs off. Ours then stays in the chain and passes every message on.
  if (old_procedure == 0 || windows.GetWindowProcedure(window) != windows.HookProcedure()) return;
  windows.SetWindowProcedure(window, old_procedure);
  windows.RemoveWindowProp(window, kOldWindowProc);
}

intptr_t HookWindowProc(WindowSystem& windows, const WindowMessage& message) {
  auto* band = reinterpret_cast<Band*>(windows.GetWindowProp(message.window, kObjectPointer));
  if (!band) {
    WindowProcedure old_procedure = OldWindowProcedure(windows, message.window);
    return old_procedure ? windows.CallWindowProcedure(old_procedure, message) : 0;
  }
  intptr_t result = 0;
  try {
    result = band->WindowProc(message);
  } catch (const Error&) {
    // The window keeps working with its own procedure.
    UnhookWindow(windows, message.window);
    return 0;
  }
  if (message.message == kWmDestroy) UnhookWindow(windows, message.window);
  return result;
}

}  // namespace windlock
