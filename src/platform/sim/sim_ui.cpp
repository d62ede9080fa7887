#include "platform/sim/sim_ui.h"

#include <stdexcept>

#include "common/form.h"

namespace windlock::sim {

void SimUi::RunModal(Form& form) {
  trace_("form " + form.name() + " shown");
  modal_forms_.push_back(&form);
  struct Pop {
    std::vector<Form*>& forms;
    ~Pop() { forms.pop_back(); }
  } pop{modal_forms_};
  if (on_show_) on_show_(form);
  while (form.loaded()) {
    if (!pump_) throw std::logic_error("a modal form is open and nothing can close it");
    pump_();
  }
  trace_("form " + form.name() + " closed");
}

void SimUi::SetClipboardText(const std::string& text) {
  clipboard_ = text;
  trace_("clipboard " + Quote(text));
}

int SimUi::ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                          unsigned style) {
  message_boxes_.push_back({text, title, style});
  int answer = kIdOk;
  if ((style & 0xF) == kMbYesNo) {
    answer = kIdYes;
    if (!yes_no_answers_.empty()) {
      answer = yes_no_answers_.front() ? kIdYes : kIdNo;
      yes_no_answers_.pop_front();
    }
  }
  trace_("messagebox " + std::to_string(style & 0xF0) + " " +
         (title ? Quote(*title) : std::string("default")) + " " + Quote(text) + " -> " +
         std::to_string(answer));
  return answer;
}

}  // namespace windlock::sim
