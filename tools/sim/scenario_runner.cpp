#include "scenario_runner.h"

#include "scenario_errors.h"
#include "settings/settings_paths.h"

namespace windlock::scenario {
namespace {

// Every open modal form holds its nested message loop on the stack, with the lines after it
// running inside: a scenario that keeps opening them (a pop-up while the alerts of those before
// it are up) would exhaust the stack.
constexpr std::size_t kMaxOpenModalForms = 100;

}  // namespace

ScenarioRunner::ScenarioRunner(std::string file_name, const std::vector<std::string>& lines,
                               std::ostream& out)
    : source_(std::move(file_name), lines), out_(out) {
  AddSetupCommands(commands_);
  AddBrowserCommands(commands_);
  AddPaneCommands(commands_);
  AddListCommands(commands_);
  AddBridgeCommands(commands_);
  AddBandCommands(commands_);
  AddUserCommands(commands_);
  AddExpectations(commands_);
  machine_.trace.SetSink([this](const std::string& effect) { Print(effect); });
  machine_.ui.SetPump([this] { RunNextLine(); });
  machine_.ui.SetOnShow([this](Form& form) { OnModalShown(form); });
}

// What the windows do as they go after the last line is no effect of any line.
ScenarioRunner::~ScenarioRunner() {
  machine_.trace.SetSink(nullptr);
}

ScenarioRunner::Verdict ScenarioRunner::Run() {
  try {
    while (next_line_ < source_.size()) RunNextLine();
  } catch (const ExpectationFailed& failure) {
    return {kFailed, "FAIL " + Where() + ": " + failure.what()};
  } catch (const ScenarioError& error) {
    return {kError, "ERROR " + Where() + ": " + error.what()};
  }
  return {kPassed, "PASS " + source_.FileName(0)};
}

std::string ScenarioRunner::Where() const {
  return source_.FileName(current_.file) + ":" + std::to_string(current_.line);
}

void ScenarioRunner::RunNextLine() {
  if (next_line_ >= source_.size()) {
    current_ = source_.End();
    Form* open = machine_.ui.topmost();
    throw ScenarioError("the modal form " + (open ? open->name() : std::string("?")) +
                        " is still open at the end of the file");
  }
  RunLine(next_line_++);
}

void ScenarioRunner::RunLine(std::size_t index) {
  SourceLocation outer = current_;
  current_ = source_[index].location;
  ScenarioLine line(source_[index].text);
  if (!line.blank()) {
    const bool include = line.command() == "include";
    auto command = commands_.find(line.command());
    if (!include && command == commands_.end()) {
      throw ScenarioError("unknown command " + line.command());
    }
    out_ << Where() << "> " << line.text() << "\n";
    if (include) {
      // The included lines run next, as if written in place of this one.
      line.Expect(1, 1);
      source_.Include(index, line.Quoted(0));
    } else {
      command->second(*this, line);
      machine_.navigations.DeliverAll();
    }
  }
  current_ = outer;
}

void ScenarioRunner::Print(const std::string& effect) {
  out_ << Where() << ": " << effect << "\n";
}

void ScenarioRunner::OnModalShown(Form& form) {
  if (machine_.ui.modal_forms().size() > kMaxOpenModalForms) {
    throw ScenarioError("more than " + std::to_string(kMaxOpenModalForms) +
                        " modal forms are open at once");
  }
  if (form.name() != "frmSplashCapture") return;
  ++alerts_shown_;
  Control* label = form.FindControl("Label1");
  Timer* timer = form.FindTimer("Timer1");
  last_alert_ = AlertRecord{label ? label->caption : std::string(), form.width, form.height,
                            timer ? timer->interval() : 0};
}

void ScenarioRunner::SelectWindow(int id) {
  if (id < 1) throw ScenarioError("window numbers start at 1");
  window_id_ = id;
}

WindowState& ScenarioRunner::state() {
  auto& state = windows_[window_id_];
  if (!state) state = std::make_unique<WindowState>(window());
  return *state;
}

Band& ScenarioRunner::band() {
  auto& bands = state().bands;
  if (bands.empty()) throw ScenarioError("the browser holds no band (create one first)");
  return *bands.back().band;
}

sim::SimBandSite* ScenarioRunner::site() {
  auto& bands = state().bands;
  return bands.empty() ? nullptr : bands.back().site.get();
}

BarForm& ScenarioRunner::bar_form() {
  BarForm* form = apartment().bar_form();
  if (!form || !form->loaded()) throw ScenarioError("the bar form frmBand is not loaded");
  return *form;
}

Form& ScenarioRunner::TopForm() {
  if (Form* top = machine_.ui.topmost()) return *top;
  return bar_form();
}

Control& ScenarioRunner::FindControl(const std::string& name) {
  Form& form = TopForm();
  Control* control = form.FindControl(name);
  if (!control) throw ScenarioError("unknown control " + name + " on " + form.name());
  return *control;
}

sim::SimBrowser* ScenarioRunner::FindBrowser(const std::string& name) {
  sim::SimWindow& current = window();
  if (name == "host") return &current.hosting();
  if (name == "preview") {
    sim::SimPreviewControl* preview = current.controls().preview();
    return preview ? &preview->browser() : nullptr;
  }
  if (name == "skin") return current.controls().skin();
  throw ScenarioError("host, preview or skin, not " + name);
}

Form* ScenarioRunner::FindOpenForm(const std::string& name) {
  for (Form* form : machine_.ui.modal_forms()) {
    if (form->name() == name && form->loaded()) return form;
  }
  BarForm* bar = apartment().bar_form();
  if (name == "frmBand" && bar && bar->loaded()) return bar;
  return nullptr;
}

std::string ScenarioRunner::RegistryPath(const std::string& path) const {
  return path.starts_with("\\") ? settings_path::kRoot + path : path;
}

std::string ScenarioRunner::FilePath(const std::string& path) const {
  return path.starts_with("\\") ? sim::SimFileSystem::kProgramFolder + path : path;
}

const sim::ShownMessageBox* ScenarioRunner::NextUncheckedMessageBox() {
  const auto& shown = machine_.ui.message_boxes();
  if (checked_message_boxes_ >= shown.size()) return nullptr;
  return &shown[checked_message_boxes_++];
}

bool ScenarioRunner::AllMessageBoxesChecked() const {
  return checked_message_boxes_ >= machine_.ui.message_boxes().size();
}

}  // namespace windlock::scenario
