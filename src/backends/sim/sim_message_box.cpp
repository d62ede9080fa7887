#include "backends/sim/sim_message_box.h"

#include <cctype>

#include "platform/ui.h"

namespace windlock::sim {

SimMessageBox::SimMessageBox(unsigned style)
    : Form("MessageBox"), yes_no_((style & 0xF) == kMbYesNo), answer_(yes_no_ ? kIdNo : kIdOk) {
  if (yes_no_) {
    default_button_ = &AddButton("Yes", kIdYes);
    AddButton("No", kIdNo);
  } else {
    default_button_ = &AddButton("OK", kIdOk);
    cancel_button_ = default_button_;
  }
}

Control& SimMessageBox::AddButton(const char* caption, int answer) {
  Control& button = AddControl(caption, ControlKind::kButton);
  button.caption = caption;
  button.on_click = [this, answer] {
    answer_ = answer;
    Unload();
  };
  return button;
}

void SimMessageBox::KeyPress(int ascii) {
  if (!yes_no_) return;
  int key = std::tolower(ascii);
  if (key == 'y') FindControl("Yes")->Click();
  if (key == 'n') FindControl("No")->Click();
}

void SimMessageBox::CloseBox() {
  if (!yes_no_) default_button_->Click();
}

}  // namespace windlock::sim
