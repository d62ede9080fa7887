// The captured list as the user handles it: the bar's list view URLList and the skin page's
// selection box.
#include "bar/bar_form.h"
#include "capture/captured_entry.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

// The bar form's list view, named as the line names it on the topmost form.
ListView& UrlList(ScenarioRunner& runner, const std::string& name) {
  Control& control = runner.FindControl(name);
  auto* list = dynamic_cast<ListView*>(&control);
  if (!list || list != &runner.bar_form().URLList()) {
    throw ScenarioError(name + " is not the bar's list view URLList");
  }
  return *list;
}

void Select(ScenarioRunner& runner, const ScenarioLine& line) {
  if (line.size() == 0) throw ScenarioError("select takes a control");
  const std::string& name = line.Word(0);
  auto* list = dynamic_cast<ListView*>(&runner.FindControl(name));
  if (!list) {
    SelectLineOrTab(runner, line);
    return;
  }
  std::vector<bool> chosen(list->size(), false);
  for (std::size_t i = 1; i < line.size(); ++i) {
    std::optional<std::size_t> item = list->Find(line.Quoted(i));
    if (!item) throw ScenarioError(name + " has no item with the key " + line.Quoted(i));
    chosen[*item] = true;
  }
  for (std::size_t i = 0; i < chosen.size(); ++i) list->SetSelected(i, chosen[i]);
}

void DblClick(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  UrlList(runner, line.Word(0));
  runner.bar_form().URLList_DblClick();
}

void MouseDown(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  UrlList(runner, line.Word(0));
  const std::string& where = line.Word(1);
  if (where != "item" && where != "empty") throw ScenarioError("mousedown URLList item or empty");
  runner.bar_form().URLList_MouseDown(where == "item");
}

// The user picks options in the skin page's selection box; the page itself runs nothing.
void PageSelect(ScenarioRunner& runner, const ScenarioLine& line) {
  sim::SimBrowser* skin = runner.FindBrowser("skin");
  HtmlDocument* document = skin ? skin->Document() : nullptr;
  HtmlOptions* options = document ? document->SelectOptions(kCaptureSelectId) : nullptr;
  if (!options)
    throw ScenarioError("the skin page has no select box " + std::string(kCaptureSelectId));
  std::vector<bool> chosen(options->length(), false);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const std::string& value = line.Quoted(i);
    std::size_t at = 0;
    while (at < chosen.size() && options->Value(at) != value) ++at;
    if (at == chosen.size()) throw ScenarioError("the select box has no option " + value);
    chosen[at] = true;
  }
  for (std::size_t i = 0; i < chosen.size(); ++i) options->SetSelected(i, chosen[i]);
}

}  // namespace

void AddListCommands(CommandTable& table) {
  table["select"] = Select;
  table["dblclick"] = DblClick;
  table["mousedown"] = MouseDown;
  table["page-select"] = PageSelect;
}

}  // namespace windlock::scenario
