#include "sim_harness.h"

#include <stdexcept>

#include "common/form.h"

namespace windlock::unit {

std::string StoredAs(const sim::SimRegistry& registry, const std::string& path) {
  RegistryValue value;
  if (!registry.Peek(path, value)) return "missing";
  switch (value.kind) {
    case RegistryValue::Kind::kDword:
      return "dword " + std::to_string(static_cast<int32_t>(value.dword));
    case RegistryValue::Kind::kString:
      return "sz " + value.text;
    case RegistryValue::Kind::kOther:
      break;
  }
  return "other";
}

Settings InstalledSettings() {
  Settings settings;
  settings.CaptureWhenClosed = true;
  settings.ShowVisualCapture = true;
  settings.PlayAudioCapture = kNoSound;
  settings.PromptToAdd = false;
  settings.PopupAlertMessage = "Pop-up Captured";
  settings.PopupAlertDisplayTime = 1000;
  settings.DefaultSkin = "Original";
  return settings;
}

UserStep Click(std::string form, std::string control) {
  return {std::move(form), [control](Form& open) {
            Control* target = open.FindControl(control);
            if (!target) throw std::logic_error(open.name() + " has no control " + control);
            target->Click();
          }};
}

UserStep PressKey(std::string form) {
  return {std::move(form), [](Form& open) { open.KeyPress(' '); }};
}

BarHarness::BarHarness()
    : window(machine.Window(1)), apartment(window.platform()), bar(apartment.LoadBarForm()) {
  machine.trace.SetSink([this](const std::string& line) { trace_.push_back(line); });
  machine.ui.SetOnShow([this](Form& form) { forms_shown_.push_back(form.name()); });
  machine.ui.SetPump([this] {
    Form& open = *machine.ui.topmost();
    if (steps_.empty()) throw std::logic_error("nothing planned for " + open.name());
    UserStep step = std::move(steps_.front());
    steps_.pop_front();
    if (step.form != open.name()) {
      throw std::logic_error("planned for " + step.form + " but " + open.name() + " is open");
    }
    step.act(open);
  });
  settings() = InstalledSettings();
  bar.SetCurrentIE(&window.hosting());
  SetBarShowing(true);
  window.hosting().ShowPage(kOpenerPage);
}

BarHarness::~BarHarness() {
  machine.trace.SetSink(nullptr);
}

sim::NewWindowDecision BarHarness::OpenPopup() {
  return window.hosting().OpenWindow(NavigateRequest::To(kPopupUrl), std::nullopt);
}

void BarHarness::ShowSkinPage(const std::string& text) {
  const std::string page =
      std::string(sim::SimFileSystem::kProgramFolder) + "\\Skins\\Test\\bar.htm";
  machine.files.AddFile(page, text);
  window.controls().skin()->Deliver(NavigateRequest::To(page));
}

std::vector<std::string> BarHarness::Trace(const std::vector<std::string_view>& prefixes) const {
  std::vector<std::string> lines;
  for (const std::string& line : trace_) {
    for (std::string_view prefix : prefixes) {
      if (line.starts_with(prefix)) {
        lines.push_back(line);
        break;
      }
    }
  }
  return lines;
}

}  // namespace windlock::unit
