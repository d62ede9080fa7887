#include "expectation_text.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

using sim::SimMenus;

const std::vector<SimMenus::Item>& LastMenu(ScenarioRunner& runner) {
  std::optional<MenuHandle> menu = runner.last_menu();
  const std::vector<SimMenus::Item>* items = menu ? runner.machine().menus.Items(*menu) : nullptr;
  if (!items) throw ExpectationFailed("a menu built by `menu`", "none");
  return *items;
}

// An item as the expectation writes it: "-" a separator, "Skins>" a popup, else its caption.
std::string Shown(const SimMenus::Item& item) {
  if (item.flags & kMfSeparator) return "-";
  if (item.flags & kMfPopup) return item.caption + ">";
  return item.caption;
}

// Compares item by item; "*" stands for any one caption.
void CheckItems(const std::string& what, const ScenarioLine& line,
                const std::vector<SimMenus::Item>& items) {
  std::vector<std::string> expected;
  for (std::size_t i = 1; i < line.size(); ++i) expected.push_back(line.Quoted(i));
  std::vector<std::string> found;
  for (std::size_t i = 0; i < items.size(); ++i) {
    bool any = i < expected.size() && expected[i] == "*";
    found.push_back(any ? "*" : Shown(items[i]));
  }
  Check(what + " " + QuotedList(expected), what + " " + QuotedList(found));
}

void ExpectMenu(ScenarioRunner& runner, const ScenarioLine& line) {
  CheckItems("menu", line, LastMenu(runner));
}

void ExpectSkinsMenu(ScenarioRunner& runner, const ScenarioLine& line) {
  for (const SimMenus::Item& item : LastMenu(runner)) {
    if (!(item.flags & kMfPopup)) continue;
    const std::vector<SimMenus::Item>* skins = runner.machine().menus.Items(item.item);
    if (!skins) break;
    CheckItems("skins-menu", line, *skins);
    return;
  }
  throw ExpectationFailed("a Skins submenu", "none");
}

void ExpectClipboard(ScenarioRunner& runner, const ScenarioLine& line) {
  std::string expected;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (i > 1) expected += "\r\n";
    expected += line.Quoted(i);
  }
  Check("clipboard " + sim::Quote(expected),
        "clipboard " + sim::Quote(runner.machine().ui.clipboard()));
}

}  // namespace

void AddMenuExpectations(CommandTable& expectations) {
  expectations["menu"] = ExpectMenu;
  expectations["skins-menu"] = ExpectSkinsMenu;
  expectations["clipboard"] = ExpectClipboard;
}

}  // namespace windlock::scenario
