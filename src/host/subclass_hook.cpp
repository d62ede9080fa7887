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
  // Hooking twice would store the hook itself as the old procedure.
  if (OldWindowProcedure(windows, window) != 0) return;
  windows.SetHookHandler(
      [&windows](const WindowMessage& message) { return HookWindowProc(windows, message); });
  windows.SetWindowProp(window, kObjectPointer, reinterpret_cast<uintptr_t>(&band));
  windows.SetWindowProp(window, kOldWindowProc, windows.GetWindowProcedure(window));
  windows.SetWindowProcedure(window, windows.HookProcedure());
}

void UnhookWindow(WindowSystem& windows, WindowHandle window) {
  WindowProcedure old_procedure = OldWindowProcedure(windows, window);
  if (old_procedure != 0) windows.SetWindowProcedure(window, old_procedure);
  windows.RemoveWindowProp(window, kObjectPointer);
  windows.RemoveWindowProp(window, kOldWindowProc);
}

intptr_t HookWindowProc(WindowSystem& windows, const WindowMessage& message) {
  auto* band = reinterpret_cast<Band*>(windows.GetWindowProp(message.window, kObjectPointer));
  if (!band) return 0;
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
