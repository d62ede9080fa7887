#pragma once

#include "forms/form.h"

namespace windlock::sim {

// A message box held open, as a user who has not answered yet leaves it: a modal window whose
// buttons ("OK", or "Yes" and "No") end it. Enter presses the first button; on an OK box Escape
// and the close box press OK, on a Yes/No box they do nothing (it has neither), and the keys Y
// and N press Yes and No.
class SimMessageBox : public Form {
 public:
  explicit SimMessageBox(unsigned style);

  int answer() const { return answer_; }
  void Show() { MarkLoaded(); }

  void KeyPress(int ascii) override;
  void CloseBox() override;

 private:
  Control& AddButton(const char* caption, int answer);

  bool yes_no_;
  int answer_;
};

}  // namespace windlock::sim
