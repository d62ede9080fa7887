#include "backends/sim/sim_window_system.h"

#include <cstdio>
#include <utility>

#include "common/error.h"
#include "forms/form.h"

namespace windlock::sim {
namespace {

// ERROR_INVALID_WINDOW_HANDLE
constexpr int32_t kErrInvalidWindow = 1400;

std::string Hex(uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

SimWindowSystem::Window& SimWindowSystem::At(WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) throw Error(kErrInvalidWindow, "Invalid window handle.");
  return found->second;
}

WindowHandle SimWindowSystem::Add(const std::string& name, bool visible) {
  WindowHandle handle = next_handle_;
  next_handle_ += 0x10;
  // A window's own procedure has the same number as its handle.
  windows_[handle] = Window{name, {}, handle, 0, 0, visible, {}};
  return handle;
}

WindowHandle SimWindowSystem::CreateFormWindow(Form& form) {
  return Add(form.name(), false);
}

WindowHandle SimWindowSystem::CreateHostWindow(const std::string& name) {
  return Add(name, true);
}

std::size_t SimWindowSystem::CountNamed(const std::string& name) const {
  std::size_t count = 0;
  for (const auto& [handle, window] : windows_) count += window.name == name ? 1 : 0;
  return count;
}

void SimWindowSystem::DestroyWindow(WindowHandle window) {
  WindowProcedure procedure = At(window).procedure;
  CallWindowProcedure(procedure, {window, kWmDestroy, 0, 0});
  windows_.erase(window);
  if (focus_ == window) focus_ = 0;
  trace_("window " + Hex(window) + " destroyed");
}

uintptr_t SimWindowSystem::GetWindowProp(WindowHandle window, const std::string& name) {
  auto& props = At(window).props;
  auto found = props.find(name);
  return found == props.end() ? 0 : found->second;
}

void SimWindowSystem::SetWindowProp(WindowHandle window, const std::string& name, uintptr_t value) {
  At(window).props[name] = value;
}

void SimWindowSystem::RemoveWindowProp(WindowHandle window, const std::string& name) {
  At(window).props.erase(name);
}

WindowProcedure SimWindowSystem::GetWindowProcedure(WindowHandle window) {
  return At(window).procedure;
}

void SimWindowSystem::SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
  At(window).procedure = procedure;
}

intptr_t SimWindowSystem::CallWindowProcedure(WindowProcedure procedure,
                                              const WindowMessage& message) {
  if (procedure == kHookProcedure) return hook_handler_ ? hook_handler_(message) : 0;
  auto owner = windows_.find(procedure);
  if (owner != windows_.end()) owner->second.received.push_back(message);
  return 0;
}

void SimWindowSystem::SetHookHandler(std::function<intptr_t(const WindowMessage&)> handler) {
  hook_handler_ = std::move(handler);
}

uint32_t SimWindowSystem::GetStyle(WindowHandle window) {
  return At(window).style;
}

void SimWindowSystem::SetStyle(WindowHandle window, uint32_t style) {
  At(window).style = style;
}

void SimWindowSystem::SetParent(WindowHandle child, WindowHandle parent) {
  At(child).parent = parent;
}

void SimWindowSystem::ShowWindow(WindowHandle window, bool show) {
  Window& target = At(window);
  target.visible = show;
  trace_("window " + target.name + (show ? " shown" : " hidden"));
}

bool SimWindowSystem::IsWindowVisible(WindowHandle window) {
  // A window shows only while each of its parents does.
  for (WindowHandle at = window; at != 0;) {
    auto found = windows_.find(at);
    if (found == windows_.end() || !found->second.visible) return false;
    at = found->second.parent;
  }
  return window != 0;
}

void SimWindowSystem::SetFocus(WindowHandle window) {
  At(window);
  if (focus_ == window) return;
  WindowHandle previous = std::exchange(focus_, window);
  trace_("focus " + Hex(window));
  // The focus messages go through the windows' procedures, subclasses included.
  if (windows_.contains(previous)) {
    CallWindowProcedure(At(previous).procedure, {previous, kWmKillFocus, window, 0});
  }
  if (windows_.contains(window)) {
    CallWindowProcedure(At(window).procedure, {window, kWmSetFocus, previous, 0});
  }
}

intptr_t SimWindowSystem::SendWindowMessage(const WindowMessage& message) {
  trace_("sendmessage " + Hex(message.window) + " " + Hex(message.message) + " " +
         std::to_string(message.wparam) + " " + std::to_string(message.lparam));
  auto found = windows_.find(message.window);
  if (found == windows_.end()) return 0;
  return CallWindowProcedure(found->second.procedure, message);
}

void SimWindowSystem::PostWindowMessage(const WindowMessage& message) {
  trace_("postmessage " + Hex(message.window) + " " + Hex(message.message) + " " +
         std::to_string(message.wparam) + " " + std::to_string(message.lparam));
}

WindowProcedure SimWindowSystem::OwnProcedure(WindowHandle window) const {
  return window;
}

bool SimWindowSystem::IsWithin(WindowHandle window, WindowHandle ancestor) {
  for (WindowHandle at = window; at != 0; at = Parent(at)) {
    if (at == ancestor) return true;
  }
  return false;
}

WindowHandle SimWindowSystem::Parent(WindowHandle window) const {
  auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.parent;
}

std::vector<WindowMessage> SimWindowSystem::TakeReceived(WindowHandle window) {
  return std::exchange(At(window).received, {});
}

}  // namespace windlock::sim
