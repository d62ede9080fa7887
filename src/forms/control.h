#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/font.h"

namespace windlock {

enum class ControlKind {
  kLabel,
  kButton,
  kCheckBox,
  kTextBox,
  kListBox,
  kFrame,
  kListView,
  kPicture,
  kSlider,
  kTabStrip,
  kBrowser,    // holds a WebBrowser control
  kAnimation,  // holds an animation control
};

// The logical state of one control of a form. Geometry is in twips as single-precision
// numbers, as the forms compute it; handlers are the form's event procedures.
class Control {
 public:
  Control(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }

  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  std::string caption;
  std::string text;
  bool visible = true;
  bool enabled = true;
  int value = 0;  // check box 0/1, slider position, selected tab from 1
  // A list box's lines and its selected line (-1: none).
  std::vector<std::string> lines;
  int list_index = -1;
  // A slider's range.
  int minimum = 0;
  int maximum = 10;
  // The font the control shows its caption in; none: the system's.
  std::optional<Font> font;
  // Shown in the system's highlight colours instead of the form's.
  bool highlight = false;
  // The picture a picture control shows, by name, stretched to fill it; empty: none.
  std::string picture;
  // What a screen reader calls the control where its caption does not name it (a list, a pane,
  // a text box); empty: its caption.
  std::string accessible_name;
  // The frame that holds the control, whose top-left corner its position counts from; none:
  // the form itself.
  Control* container = nullptr;

  std::function<void()> on_click;
  std::function<void()> on_change;
  std::function<void()> on_validate;

  // A user's click: a check box toggles first, then Click runs.
  void Click();
  // Sets a check box; Click runs when the state changes.
  void SetChecked(bool checked);
  // Replaces a text box's text; Change runs.
  void Type(std::string new_text);
  // The focus leaves the control; Validate runs.
  void Leave();
  // The user picks line `index` of a list box, or tab `index` (from 1) of a tab strip; Click
  // runs.
  void Select(int index);
  // The user moves a slider; Change runs.
  void Slide(int position);
  // Empties a list box (nothing selected) / appends a line.
  void ClearLines();
  void AddLine(std::string line) { lines.push_back(std::move(line)); }

  bool checked() const { return value != 0; }

  // Sets position and size at once (design values).
  Control& Place(float new_left, float new_top, float new_width, float new_height) {
    left = new_left;
    top = new_top;
    width = new_width;
    height = new_height;
    return *this;
  }

 private:
  std::string name_;
  ControlKind kind_;
};

}  // namespace windlock
