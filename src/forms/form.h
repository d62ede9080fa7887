#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/list_view.h"
#include "forms/timer.h"

namespace windlock {

// A form: its controls and timers, found by name ("Command1(2)", "Label1"), and its loaded
// state. Subclasses add the event procedures.
class Form : public std::enable_shared_from_this<Form> {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  bool loaded() const { return loaded_; }

  Control* FindControl(std::string_view name);
  Timer* FindTimer(std::string_view name);
  // Every control, in the order the form made them.
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  std::string caption;
  // What a screen reader calls the form's window; empty: its caption.
  std::string accessible_name;
  // Read out by screen readers as it shows, as a notice rather than a window to work in.
  bool alert = false;
  // A dialog's frame with its title bar and close box, or no frame at all.
  enum class Border { kFixedDialog, kNone };
  Border border = Border::kFixedDialog;
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  // The window was sized to an inner size in twips (the form's Resize event).
  virtual void Resize(float new_width, float new_height) {
    width = new_width;
    height = new_height;
  }
  // The window was first shown (the form's Activate event).
  virtual void Activate() {}
  // User input that reaches the form as a whole.
  virtual void KeyPress(int /*ascii*/) {}
  // Tab pressed with Ctrl alone, seen by the form before its controls.
  virtual void CtrlTab() {}
  // The close box: unloads unless the form does something else.
  virtual void CloseBox() { Unload(); }
  // Enter and Escape press the default and cancel buttons; without one they are key presses.
  void PressEnter();
  void PressEscape();

  // The button Enter presses, if any.
  const Control* default_button() const { return default_button_; }

  // Ends the form: its timers stop and it counts as closed.
  void Unload();

  // Keeps the form's object alive while a handler of it is on the stack. A handler that shows a
  // modal window runs a nested message loop, where the form can be unloaded and let go by its
  // owner; the handler then goes on with an unloaded form, never a freed one. Empty when the
  // form is not shared-owned.
  std::shared_ptr<Form> KeepAlive() { return weak_from_this().lock(); }

 protected:
  Control& AddControl(std::string name, ControlKind kind);
  ListView& AddListView(std::string name);
  Timer& AddTimer(TimerService& service, std::string name, std::function<void()> on_tick);
  void MarkLoaded() { loaded_ = true; }
  // Places the form in the middle of a screen of the given size (twips).
  void CenterOn(float screen_width, float screen_height);
  virtual void OnUnload() {}

  Control* default_button_ = nullptr;
  Control* cancel_button_ = nullptr;

 private:
  std::string name_;
  bool loaded_ = false;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
};

}  // namespace windlock
