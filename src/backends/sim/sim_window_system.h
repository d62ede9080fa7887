#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "backends/sim/sim_trace.h"
#include "platform/window_system.h"

namespace windlock::sim {

// A window table: each window has properties, a style, a parent, a visibility and a procedure.
// Every window starts with a procedure of its own that records the messages it receives, so a
// test can see what reached the window through any subclass.
class SimWindowSystem : public WindowSystem {
 public:
  explicit SimWindowSystem(const SimTrace& trace) : trace_(trace) {}

  WindowHandle CreateFormWindow(Form& form) override;
  void DestroyWindow(WindowHandle window) override;
  uintptr_t GetWindowProp(WindowHandle window, const std::string& name) override;
  void SetWindowProp(WindowHandle window, const std::string& name, uintptr_t value) override;
  void RemoveWindowProp(WindowHandle window, const std::string& name) override;
  WindowProcedure GetWindowProcedure(WindowHandle window) override;
  void SetWindowProcedure(WindowHandle window, WindowProcedure procedure) override;
  intptr_t CallWindowProcedure(WindowProcedure procedure, const WindowMessage& message) override;
  WindowProcedure HookProcedure() override { return kHookProcedure; }
  void SetHookHandler(std::function<intptr_t(const WindowMessage&)> handler) override;
  uint32_t GetStyle(WindowHandle window) override;
  void SetStyle(WindowHandle window, uint32_t style) override;
  void SetParent(WindowHandle child, WindowHandle parent) override;
  void ShowWindow(WindowHandle window, bool show) override;
  bool IsWindowVisible(WindowHandle window) override;
  bool IsWithin(WindowHandle window, WindowHandle ancestor) override;
  void SetFocus(WindowHandle window) override;
  intptr_t SendWindowMessage(const WindowMessage& message) override;
  // Recorded, not delivered: nothing in the bar waits for a posted message.
  void PostWindowMessage(const WindowMessage& message) override;

  // Set-up and inspection.
  // A window that stands for a browser's own window (the bar window a site gives), shown.
  WindowHandle CreateHostWindow(const std::string& name);
  bool Exists(WindowHandle window) const { return windows_.contains(window); }
  // How many windows of that name exist.
  std::size_t CountNamed(const std::string& name) const;
  // The procedure a window was created with.
  WindowProcedure OwnProcedure(WindowHandle window) const;
  WindowHandle Parent(WindowHandle window) const;
  WindowHandle focus() const { return focus_; }
  // Messages that reached the window's own procedure since the last call.
  std::vector<WindowMessage> TakeReceived(WindowHandle window);

 private:
  static constexpr WindowProcedure kHookProcedure = 1;

  struct Window {
    std::string name;
    std::map<std::string, uintptr_t> props;
    WindowProcedure procedure = 0;
    uint32_t style = 0;
    WindowHandle parent = 0;
    bool visible = false;
    std::vector<WindowMessage> received;
  };

  Window& At(WindowHandle window);
  WindowHandle Add(const std::string& name, bool visible);

  const SimTrace& trace_;
  std::map<WindowHandle, Window> windows_;
  WindowHandle next_handle_ = 0x1000;
  WindowHandle focus_ = 0;
  std::function<intptr_t(const WindowMessage&)> hook_handler_;
};

}  // namespace windlock::sim
