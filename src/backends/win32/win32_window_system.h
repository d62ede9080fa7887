#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "backends/win32/view/hosted_controls.h"
#include "platform/window_system.h"

namespace windlock::win32 {

// The windows of one browser thread through user32. A form's window shows its controls, with
// the hosted controls the thread's control factory made. The hook procedure finds the handler
// of the thread it runs on.
class Win32WindowSystem : public WindowSystem {
 public:
  explicit Win32WindowSystem(HostedControls& hosted);
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  WindowHandle CreateFormWindow(Form& form) override;
  void DestroyWindow(WindowHandle window) override;
  uintptr_t GetWindowProp(WindowHandle window, const std::string& name) override;
  void SetWindowProp(WindowHandle window, const std::string& name, uintptr_t value) override;
  void RemoveWindowProp(WindowHandle window, const std::string& name) override;
  WindowProcedure GetWindowProcedure(WindowHandle window) override;
  void SetWindowProcedure(WindowHandle window, WindowProcedure procedure) override;
  intptr_t CallWindowProcedure(WindowProcedure procedure, const WindowMessage& message) override;
  WindowProcedure HookProcedure() override;
  void SetHookHandler(std::function<intptr_t(const WindowMessage&)> handler) override;
  uint32_t GetStyle(WindowHandle window) override;
  void SetStyle(WindowHandle window, uint32_t style) override;
  void SetParent(WindowHandle child, WindowHandle parent) override;
  void ShowWindow(WindowHandle window, bool show) override;
  bool IsWindowVisible(WindowHandle window) override;
  bool IsWithin(WindowHandle window, WindowHandle ancestor) override;
  void SetFocus(WindowHandle window) override;
  intptr_t SendWindowMessage(const WindowMessage& message) override;
  void PostWindowMessage(const WindowMessage& message) override;

 private:
  static LRESULT CALLBACK HookTrampoline(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam) noexcept;

  // Drops what props_ holds of a window that is going.
  void ForgetProps(HWND window);

  HostedControls& hosted_;
  std::function<intptr_t(const WindowMessage&)> hook_handler_;
  // The window properties set through this object, read back without asking the window server:
  // under Wine each read is a call to it, and the hook reads two for every message of the bar's
  // window.
  std::map<std::pair<HWND, std::string>, uintptr_t> props_;
};

}  // namespace windlock::win32
