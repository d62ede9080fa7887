#pragma once

namespace windlock {

class BarForm;

// The indexes of the button array Command1.
inline constexpr int kOpenHere = 0;
inline constexpr int kOpenNew = 1;
inline constexpr int kRemove = 2;
inline constexpr int kHelp = 3;

// The bar's own buttons: open the selected pop-ups in this or new windows, remove them, help,
// the safe shutdown, and the preview pane's check box. The script bridge runs the same actions.
class BarButtons {
 public:
  explicit BarButtons(BarForm& form) : form_(form) {}

  void Command1_Click(int index);
  void cmdSafeShutdown_Click();
  void Check1_Click();

 private:
  void OpenInThisWindow();
  void OpenInNewWindows();

  BarForm& form_;
};

}  // namespace windlock
