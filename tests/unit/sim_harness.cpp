#include "sim_harness.h"

#include <stdexcept>

#include "bar/bar_form.h"
#include "forms/form.h"
#include "host/subclass_hook.h"
#include "platform/ui.h"
#include "settings/settings_store.h"

namespace windlock::unit {

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

Settings QuietSettings() {
  Settings settings = InstalledSettings();
  settings.ShowVisualCapture = false;
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

sim::NewWindowDecision BarHarness::OpenPopup(const NavigateRequest& request,
                                             const std::optional<std::string>& title) {
  sim::NewWindowDecision decision = window.hosting().OpenWindow(request, title);
  machine.navigations.DeliverAll();
  return decision;
}

std::vector<std::string> BarHarness::ListTexts() const {
  std::vector<std::string> texts;
  for (const ListView::Item& item : bar.URLList().items()) texts.push_back(item.text);
  return texts;
}

std::optional<std::vector<std::string>> BarHarness::SkinOptions() {
  HtmlDocument* document = skin().Document();
  HtmlOptions* options = document ? document->SelectOptions(kCaptureSelectId) : nullptr;
  if (!options) return std::nullopt;
  std::vector<std::string> shown;
  for (std::size_t i = 0; i < options->length(); ++i) {
    shown.push_back(options->Value(i) + "=" + options->Text(i) +
                    (options->Selected(i) ? " *" : ""));
  }
  return shown;
}

void BarHarness::SelectItems(const std::vector<std::size_t>& positions) {
  ListView& list = bar.URLList();
  for (std::size_t i = 0; i < list.size(); ++i) list.SetSelected(i, false);
  for (std::size_t position : positions) list.SetSelected(position, true);
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

BandThread::BandThread(sim::SimMachine& machine, int window_id)
    : machine(machine),
      window(machine.Window(window_id)),
      apartment(window.platform()),
      site_window(machine.windows.CreateHostWindow("bar site")),
      site(machine.trace, window.hosting(), site_window) {}

Band& BandThread::CreateBand() {
  band_ = std::make_unique<Band>(apartment);
  return *band_;
}

void BandThread::SendToBar(uint32_t message) {
  machine.windows.SendWindowMessage({form()->hWnd(), message, 0, 0});
}

sim::NewWindowDecision BandThread::OpenPopup() {
  window.hosting().ShowPage(kOpenerPage);
  sim::NewWindowDecision decision =
      window.hosting().OpenWindow(NavigateRequest::To(kPopupUrl), std::nullopt);
  machine.navigations.DeliverAll();
  return decision;
}

BandRig::BandRig() {
  SaveSettings(QuietSettings(), machine.registry);
  machine.trace.SetSink([this](const std::string& line) { trace_.push_back(line); });
  thread.CreateBand();
}

BandRig::~BandRig() {
  // The band still traces as it goes, after trace_ is gone.
  machine.trace.SetSink(nullptr);
}

std::string MessageText(const WindowMessage& message) {
  return "window " + std::to_string(message.window) + " message " +
         std::to_string(message.message) + " wparam " + std::to_string(message.wparam) +
         " lparam " + std::to_string(message.lparam);
}

std::vector<std::string> MessageTexts(const std::vector<WindowMessage>& messages) {
  std::vector<std::string> texts;
  for (const WindowMessage& message : messages) texts.push_back(MessageText(message));
  return texts;
}

HookSpy::HookSpy(sim::SimWindowSystem& windows, AfterEach after_each) : windows_(windows) {
  windows_.SetHookHandler([this, after_each](const WindowMessage& message) {
    seen_.push_back(message);
    intptr_t result = HookWindowProc(windows_, message);
    if (after_each) after_each(message, result);
    return result;
  });
}

HookSpy::~HookSpy() {
  windows_.SetHookHandler([&windows = windows_](const WindowMessage& message) {
    return HookWindowProc(windows, message);
  });
}

}  // namespace windlock::unit
