#include "backends/sim/sim_ui.h"

#include <sstream>
#include <stdexcept>

#include "backends/sim/sim_message_box.h"
#include "forms/form.h"

namespace windlock::sim {
namespace {

std::string FormatSize(float size) {
  std::ostringstream text;
  text << size;
  return text.str();
}

}  // namespace

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

void SimUi::Announce(const Form& form, const std::string& text) {
  announcements_.push_back(form.name() + ": " + text);
}

void SimUi::SetClipboardText(const std::string& text) {
  clipboard_ = text;
  trace_("clipboard " + Quote(text));
}

std::optional<Font> SimUi::ShowFontDialog(const Font& preset) {
  std::optional<Font> answer;
  if (!font_answers_.empty()) {
    answer = std::move(font_answers_.front());
    font_answers_.pop_front();
  }
  trace_("font dialog from " + Quote(preset.name) + " " + FormatSize(preset.size) + " -> " +
         (answer ? Quote(answer->name) + " " + FormatSize(answer->size) : "cancel"));
  return answer;
}

std::optional<std::string> SimUi::ShowOpenFileDialog(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& folder) {
  std::optional<std::string> answer;
  if (!file_answers_.empty()) {
    answer = std::move(file_answers_.front());
    file_answers_.pop_front();
  }
  trace_("file dialog " + Quote(title) + " " + Quote(filter) + " in " + Quote(folder) + " -> " +
         (answer ? Quote(*answer) : "cancel"));
  return answer;
}

int SimUi::ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                          unsigned style) {
  message_boxes_.push_back({text, title, style});
  std::string shown = "messagebox " + std::to_string(style & 0xF0) + " " +
                      (title ? Quote(*title) : std::string("default")) + " " + Quote(text);
  if (held_message_boxes_ > 0) {
    --held_message_boxes_;
    trace_(shown + " held");
    SimMessageBox box(style);
    box.Show();
    RunModal(box);
    trace_("messagebox answered " + std::to_string(box.answer()));
    return box.answer();
  }
  int answer = kIdOk;
  if ((style & 0xF) == kMbYesNo) {
    answer = kIdYes;
    if (!yes_no_answers_.empty()) {
      answer = yes_no_answers_.front() ? kIdYes : kIdNo;
      yes_no_answers_.pop_front();
    }
  }
  trace_(shown + " -> " + std::to_string(answer));
  return answer;
}

}  // namespace windlock::sim
