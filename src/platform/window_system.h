#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace windlock {

class Form;

using WindowHandle = uintptr_t;
using WindowProcedure = uintptr_t;

inline constexpr uint32_t kWmNull = 0x0000;
inline constexpr uint32_t kWmDestroy = 0x0002;
inline constexpr uint32_t kWmSetFocus = 0x0007;
inline constexpr uint32_t kWmKillFocus = 0x0008;
inline constexpr uint32_t kWmKeyDown = 0x0100;
inline constexpr uint32_t kWmKeyUp = 0x0101;
inline constexpr uint32_t kWmChar = 0x0102;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uint32_t kWmMButtonDown = 0x0207;
inline constexpr uint32_t kWmParentNotify = 0x0210;
inline constexpr uint32_t kWsChild = 0x40000000;
inline constexpr uint32_t kWsClipSiblings = 0x04000000;

struct WindowMessage {
  WindowHandle window = 0;
  uint32_t message = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
};

// The windows of the browser thread as the band and the subclass hook use them. Real: user32
// (win32). Fake: SimWindowSystem, a window table with properties and procedures.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A form's own top-level window, hidden; it shows the form's controls and hands the user's
  // actions on them to the form. The form outlives the window.
  virtual WindowHandle CreateFormWindow(Form& form) = 0;
  // Destroys a window; its procedure receives WM_DESTROY first.
  virtual void DestroyWindow(WindowHandle window) = 0;

  // Window properties by name; 0 when absent.
  virtual uintptr_t GetWindowProp(WindowHandle window, const std::string& name) = 0;
  virtual void SetWindowProp(WindowHandle window, const std::string& name, uintptr_t value) = 0;
  virtual void RemoveWindowProp(WindowHandle window, const std::string& name) = 0;

  virtual WindowProcedure GetWindowProcedure(WindowHandle window) = 0;
  virtual void SetWindowProcedure(WindowHandle window, WindowProcedure procedure) = 0;
  virtual intptr_t CallWindowProcedure(WindowProcedure procedure, const WindowMessage& message) = 0;
  // The procedure that hands each message to the hook handler.
  virtual WindowProcedure HookProcedure() = 0;
  virtual void SetHookHandler(std::function<intptr_t(const WindowMessage&)> handler) = 0;

  virtual uint32_t GetStyle(WindowHandle window) = 0;
  virtual void SetStyle(WindowHandle window, uint32_t style) = 0;
  virtual void SetParent(WindowHandle child, WindowHandle parent) = 0;
  virtual void ShowWindow(WindowHandle window, bool show) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;
  // Whether `window` is `ancestor` or lies inside it (a child's child included).
  virtual bool IsWithin(WindowHandle window, WindowHandle ancestor) = 0;
  virtual void SetFocus(WindowHandle window) = 0;
  virtual intptr_t SendWindowMessage(const WindowMessage& message) = 0;
  virtual void PostWindowMessage(const WindowMessage& message) = 0;
};

}  // namespace windlock
