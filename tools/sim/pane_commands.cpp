// The preview and skin browsers of the bar: what their pages do.
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

sim::SimBrowser& Pane(ScenarioRunner& runner, const std::string& name) {
  sim::SimBrowser* browser = runner.FindBrowser(name);
  if (!browser) throw ScenarioError("the bar has no " + name + " browser");
  return *browser;
}

// An event that can be cancelled prints whether it was; that is also the line's result.
void ReportCancel(ScenarioRunner& runner, const char* event, bool cancelled) {
  std::string result = cancelled ? "true" : "false";
  runner.machine().trace(std::string(event) + " " + result);
  runner.SetResult(result);
}

void PreviewNavigate(ScenarioRunner& runner, const ScenarioLine& line) {
  std::optional<std::string> title;
  if (line.size() != 1) {
    line.Expect(3, 3);
    if (line.Word(1) != "title") throw ScenarioError("preview-navigate \"URL\" [title \"T\"]");
    title = line.Quoted(2);
  }
  Pane(runner, "preview").Arrive(NavigateRequest::To(line.Quoted(0)), title);
}

void PreviewTitle(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  Pane(runner, "preview").RaiseTitleChange(line.Quoted(0));
}

void PreviewComplete(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  Pane(runner, "preview").RaiseDocumentComplete();
}

void PreviewPopup(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  ReportCancel(runner, "NewWindow2", Pane(runner, "preview").RaiseNewWindow());
}

void PreviewClose(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  ReportCancel(runner, "WindowClosing", Pane(runner, "preview").RaiseWindowClosing());
}

void PreviewMove(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  // WindowSetLeft has no way to refuse the move.
  Pane(runner, "preview").RaiseWindowSetPosition();
  ReportCancel(runner, "WindowSetLeft", false);
}

void SkinComplete(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  Pane(runner, "skin").RaiseDocumentComplete();
}

}  // namespace

void AddPaneCommands(CommandTable& table) {
  table["preview-navigate"] = PreviewNavigate;
  table["preview-title"] = PreviewTitle;
  table["preview-complete"] = PreviewComplete;
  table["preview-popup"] = PreviewPopup;
  table["preview-close"] = PreviewClose;
  table["preview-move"] = PreviewMove;
  table["skin-complete"] = SkinComplete;
}

}  // namespace windlock::scenario
