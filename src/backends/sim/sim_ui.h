#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backends/sim/sim_trace.h"
#include "common/font.h"
#include "platform/ui.h"

namespace windlock::sim {

struct ShownMessageBox {
  std::string text;
  std::optional<std::string> title;
  unsigned style = 0;
};

// Modal forms and message boxes of the simulated machine. While a form is open, RunModal keeps
// calling the pump (the next user action) until the form has closed, as the nested message loop
// of Windows would.
class SimUi : public Ui {
 public:
  explicit SimUi(const SimTrace& trace) : trace_(trace) {}

  void RunModal(Form& form) override;
  int ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                     unsigned style) override;
  ScreenSize Screen() override { return {15360, 11520}; }
  // Kept, not traced: nothing that shows has changed.
  void Announce(const Form& form, const std::string& text) override;
  void SetClipboardText(const std::string& text) override;
  std::optional<Font> ShowFontDialog(const Font& preset) override;
  std::optional<std::string> ShowOpenFileDialog(const std::string& title, const std::string& filter,
                                                const std::string& folder) override;
  const std::string& clipboard() const { return clipboard_; }
  // What was announced, each as "FORM: TEXT".
  const std::vector<std::string>& announcements() const { return announcements_; }

  // The next user action while a modal form is open; it must make progress or throw.
  void SetPump(std::function<void()> pump) { pump_ = std::move(pump); }
  // Called when a modal form is first shown.
  void SetOnShow(std::function<void(Form&)> on_show) { on_show_ = std::move(on_show); }

  // The open modal forms, topmost last.
  const std::vector<Form*>& modal_forms() const { return modal_forms_; }
  Form* topmost() const { return modal_forms_.empty() ? nullptr : modal_forms_.back(); }

  const std::vector<ShownMessageBox>& message_boxes() const { return message_boxes_; }
  // The answer for the next message box with Yes and No buttons.
  void QueueYesNo(bool yes) { yes_no_answers_.push_back(yes); }
  // The next message box stays open, a modal window of its own, until the user answers it.
  void HoldNextMessageBox() { ++held_message_boxes_; }
  // Answers for the next font and file-open dialogs; none cancels the dialog.
  void QueueFont(std::optional<Font> font) { font_answers_.push_back(std::move(font)); }
  void QueueFile(std::optional<std::string> path) { file_answers_.push_back(std::move(path)); }

 private:
  const SimTrace& trace_;
  std::function<void()> pump_;
  std::function<void(Form&)> on_show_;
  std::vector<Form*> modal_forms_;
  std::vector<ShownMessageBox> message_boxes_;
  std::string clipboard_;
  std::vector<std::string> announcements_;
  std::deque<bool> yes_no_answers_;
  int held_message_boxes_ = 0;
  std::deque<std::optional<Font>> font_answers_;
  std::deque<std::optional<std::string>> file_answers_;
};

}  // namespace windlock::sim
