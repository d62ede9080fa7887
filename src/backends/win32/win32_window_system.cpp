#include "backends/win32/win32_window_system.h"

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/view/form_view.h"

namespace windlock::win32 {
namespace {

// The window system of the thread the hook procedure runs on.
thread_local Win32WindowSystem* t_window_system = nullptr;

HWND Hwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HostedControls& hosted) : hosted_(hosted) {
  t_window_system = this;
}

Win32WindowSystem::~Win32WindowSystem() {
  if (t_window_system == this) t_window_system = nullptr;
}

WindowHandle Win32WindowSystem::CreateFormWindow(Form& form) {
  return reinterpret_cast<WindowHandle>(FormView::CreateWindowFor(form, hosted_));
}

void Win32WindowSystem::DestroyWindow(WindowHandle window) {
  if (!::DestroyWindow(Hwnd(window))) throw ErrorFromWin32(GetLastError());
}

uintptr_t Win32WindowSystem::GetWindowProp(WindowHandle window, const std::string& name) {
  auto set = props_.find({Hwnd(window), name});
  if (set != props_.end()) return set->second;
  return reinterpret_cast<uintptr_t>(GetPropW(Hwnd(window), Widen(name).c_str()));
}

void Win32WindowSystem::SetWindowProp(WindowHandle window, const std::string& name,
                                      uintptr_t value) {
  if (!SetPropW(Hwnd(window), Widen(name).c_str(), reinterpret_cast<HANDLE>(value))) {
    throw ErrorFromWin32(GetLastError());
  }
  props_[{Hwnd(window), name}] = value;
}

void Win32WindowSystem::RemoveWindowProp(WindowHandle window, const std::string& name) {
  props_.erase({Hwnd(window), name});
  RemovePropW(Hwnd(window), Widen(name).c_str());
}

void Win32WindowSystem::ForgetProps(HWND window) {
  auto prop = props_.lower_bound({window, std::string()});
  while (prop != props_.end() && prop->first.first == window) prop = props_.erase(prop);
}

WindowProcedure Win32WindowSystem::GetWindowProcedure(WindowHandle window) {
  return static_cast<WindowProcedure>(GetWindowLongPtrW(Hwnd(window), GWLP_WNDPROC));
}

void Win32WindowSystem::SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
  SetWindowLongPtrW(Hwnd(window), GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
}

intptr_t Win32WindowSystem::CallWindowProcedure(WindowProcedure procedure,
                                                const WindowMessage& message) {
  return CallWindowProcW(reinterpret_cast<WNDPROC>(procedure), Hwnd(message.window),
                         message.message, message.wparam, message.lparam);
}

WindowProcedure Win32WindowSystem::HookProcedure() {
  return reinterpret_cast<WindowProcedure>(&HookTrampoline);
}

void Win32WindowSystem::SetHookHandler(std::function<intptr_t(const WindowMessage&)> handler) {
  hook_handler_ = std::move(handler);
}

LRESULT CALLBACK Win32WindowSystem::HookTrampoline(HWND window, UINT message, WPARAM wparam,
                                                   LPARAM lparam) noexcept {
  Win32WindowSystem* windows = t_window_system;
  if (!windows || !windows->hook_handler_) return DefWindowProcW(window, message, wparam, lparam);
  // Every message of the hooked window comes here, also those a sync of the forms causes; the
  // forms' own handlers ask for the syncs that their changes need.
  return GuardedMessage(
      [&]() -> LRESULT {
        LRESULT result = windows->hook_handler_(
            {reinterpret_cast<WindowHandle>(window), message, wparam, lparam});
        if (message == WM_NCDESTROY) windows->ForgetProps(window);
        return result;
      },
      0, AfterCall::kNothing);
}

uint32_t Win32WindowSystem::GetStyle(WindowHandle window) {
  return static_cast<uint32_t>(GetWindowLongPtrW(Hwnd(window), GWL_STYLE));
}

void Win32WindowSystem::SetStyle(WindowHandle window, uint32_t style) {
  // Forms are made as hidden pop-ups; one that becomes a child is a pop-up no more.
  if (style & WS_CHILD) style &= ~static_cast<uint32_t>(WS_POPUP);
  SetWindowLongPtrW(Hwnd(window), GWL_STYLE, static_cast<LONG_PTR>(style));
}

void Win32WindowSystem::SetParent(WindowHandle child, WindowHandle parent) {
  ::SetParent(Hwnd(child), Hwnd(parent));
}

void Win32WindowSystem::ShowWindow(WindowHandle window, bool show) {
  ::ShowWindow(Hwnd(window), show ? SW_SHOW : SW_HIDE);
}

bool Win32WindowSystem::IsWindowVisible(WindowHandle window) {
  return ::IsWindowVisible(Hwnd(window)) != FALSE;
}

bool Win32WindowSystem::IsWithin(WindowHandle window, WindowHandle ancestor) {
  return window != 0 && (window == ancestor || IsChild(Hwnd(ancestor), Hwnd(window)));
}

void Win32WindowSystem::SetFocus(WindowHandle window) {
  ::SetFocus(Hwnd(window));
}

intptr_t Win32WindowSystem::SendWindowMessage(const WindowMessage& message) {
  return SendMessageW(Hwnd(message.window), message.message, message.wparam, message.lparam);
}

void Win32WindowSystem::PostWindowMessage(const WindowMessage& message) {
  PostMessageW(Hwnd(message.window), message.message, message.wparam, message.lparam);
}

}  // namespace windlock::win32
