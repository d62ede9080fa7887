#include <cmath>

#include "backends/sim/sim_trace.h"
#include "common/twips.h"
#include "expectation_text.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

using sim::Quote;

std::string SettingValue(const Settings& settings, const std::string& field) {
  if (field == "AutoStartVisible") return Bool(settings.AutoStartVisible);
  if (field == "AutoStart") return Bool(settings.AutoStart);
  if (field == "Visible") return Bool(settings.Visible);
  if (field == "DefaultSkin") return Quote(settings.DefaultSkin);
  if (field == "PopupAlertMessage") return Quote(settings.PopupAlertMessage);
  if (field == "PopupAlertDisplayTime") return std::to_string(settings.PopupAlertDisplayTime);
  if (field == "CaptureWhenClosed") return Bool(settings.CaptureWhenClosed);
  if (field == "ShowVisualCapture") return Bool(settings.ShowVisualCapture);
  if (field == "PlayAudioCapture") return Quote(settings.PlayAudioCapture);
  if (field == "PromptToAdd") return Bool(settings.PromptToAdd);
  if (field == "SiteCount") return std::to_string(settings.SiteCount());
  if (field == "UpdateURL") return Quote(settings.UpdateURL);
  if (field == "BrowseSkinsURL") return Quote(settings.BrowseSkinsURL);
  throw ScenarioError("unknown setting " + field);
}

std::string FontText(const Font& font) {
  std::string text = Quote(font.name) + " " + std::to_string(WholePoints(font.size));
  if (font.bold) text += " bold";
  if (font.italic) text += " italic";
  if (font.underline) text += " underline";
  if (font.strikethrough) text += " strikethrough";
  return text;
}

sim::SimBrowser& BrowserNamed(ScenarioRunner& runner, const std::string& name) {
  sim::SimBrowser* browser = runner.FindBrowser(name);
  if (!browser) throw ExpectationFailed("the " + name + " browser", "none");
  return *browser;
}

std::string ControlProperty(const Control& control, const std::string& property) {
  auto whole = [](float twips) { return std::to_string(static_cast<int64_t>(RoundTwips(twips))); };
  if (property == "left") return whole(control.left);
  if (property == "top") return whole(control.top);
  if (property == "width") return whole(control.width);
  if (property == "height") return whole(control.height);
  if (property == "visible") return Bool(control.visible);
  if (property == "enabled") return Bool(control.enabled);
  if (property == "caption") return Quote(control.caption);
  if (property == "text") return Quote(control.text);
  if (property == "value") return std::to_string(control.value);
  throw ScenarioError("unknown control property " + property);
}

void ExpectDecision(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  auto decision = runner.window().hosting().last_decision();
  Check("decision " + line.Word(1),
        "decision " + (decision ? std::string(sim::DecisionName(*decision)) : "none"));
}

void ExpectWindows(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Check("windows " + std::to_string(line.Number(1)),
        "windows " + std::to_string(runner.window().hosting().windows_opened()));
}

void ExpectSetting(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(3, 3);
  const std::string& field = line.Word(1);
  Check(field + " " + Value(line.at(2)),
        field + " " + SettingValue(runner.apartment().module().settings, field));
}

void ExpectFont(ScenarioRunner& runner, const ScenarioLine& line) {
  std::string expected = Quote(line.Quoted(1)) + " " + std::to_string(line.Number(2));
  for (std::size_t i = 3; i < line.size(); ++i) expected += " " + line.Word(i);
  Check("font " + expected,
        "font " + FontText(runner.apartment().module().settings.PopupAlertFont));
}

void ExpectSites(ScenarioRunner& runner, const ScenarioLine& line) {
  Check("sites " + QuotedList(line, 1),
        "sites " + QuotedList(runner.apartment().module().settings.Sites.entries()));
}

void ExpectDialogUrl(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Check("dialog-url " + Quote(line.Quoted(1)),
        "dialog-url " + Quote(runner.apartment().module().DialogURL));
}

void ExpectReg(ScenarioRunner& runner, const ScenarioLine& line) {
  std::string path = runner.RegistryPath(line.Quoted(1));
  const std::string& kind = line.Word(2);
  std::string expected;
  if (kind == "dword") {
    line.Expect(4, 4);
    expected = "dword " + std::to_string(static_cast<int32_t>(line.Number(3)));
  } else if (kind == "sz") {
    line.Expect(4, 4);
    expected = "sz " + Quote(line.Quoted(3));
  } else if (kind == "missing") {
    line.Expect(3, 3);
    expected = "missing";
  } else {
    throw ScenarioError("expect reg takes dword, sz or missing");
  }
  Check(Quote(path) + " " + expected, Quote(path) + " " + runner.machine().registry.Describe(path));
}

void ExpectMessageBox(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(3, 4);
  const Token& title = line.at(2);
  std::string expected = "messagebox " + std::to_string(line.Number(1)) + " " +
                         (title.quoted ? Quote(title.text) : title.text);
  if (!title.quoted && title.text != "default") throw ScenarioError("a quoted title or default");
  const sim::ShownMessageBox* shown = runner.NextUncheckedMessageBox();
  if (!shown) throw ExpectationFailed(expected, "no message box");
  std::string found = "messagebox " + std::to_string(shown->style & 0xF0) + " " +
                      (shown->title ? Quote(*shown->title) : "default");
  std::string first_line = shown->text.substr(0, shown->text.find("\r\n"));
  if (line.size() == 4) {
    expected += " " + Quote(line.Quoted(3));
    found += " " + Quote(first_line);
  }
  Check(expected, found);
}

void ExpectNoMessageBox(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  if (runner.AllMessageBoxesChecked()) return;
  const sim::ShownMessageBox* shown = runner.NextUncheckedMessageBox();
  throw ExpectationFailed("no-messagebox", "messagebox " + Quote(shown->text));
}

void ExpectNavigated(ScenarioRunner& runner, const ScenarioLine& line) {
  sim::SimBrowser& browser = BrowserNamed(runner, line.Word(1));
  browser.TakeNavigationCount();
  const auto& last = browser.last_navigation();
  std::string expected = Quote(line.Quoted(2));
  std::string found = last ? Quote(last->url.ToText()) : "no navigation";
  for (std::size_t i = 3; i < line.size(); i += 2) {
    const std::string& option = line.Word(i);
    expected += " " + option + " " + Quote(line.Quoted(i + 1));
    if (!last) continue;
    if (option == "target") {
      found += " target " + Quote(last->target_frame_name.ToText());
    } else if (option == "post") {
      found += " post " + Quote(last->post_data.ToText());
    } else if (option == "headers") {
      found += " headers " + Quote(last->headers.ToText());
    } else {
      throw ScenarioError("navigated takes target, post or headers, not " + option);
    }
  }
  Check("navigated " + line.Word(1) + " " + expected, "navigated " + line.Word(1) + " " + found);
}

void ExpectNoNavigation(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  sim::SimBrowser& browser = BrowserNamed(runner, line.Word(1));
  int count = browser.TakeNavigationCount();
  if (count == 0) return;
  const auto& last = browser.last_navigation();
  throw ExpectationFailed("no-navigation " + line.Word(1),
                          std::to_string(count) + " navigations, the last to " +
                              Quote(last ? last->url.ToText() : std::string()));
}

void ExpectAlert(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(5, 5);
  std::string expected = "alert " + Quote(line.Quoted(1)) + " " + std::to_string(line.Number(2)) +
                         " " + std::to_string(line.Number(3)) + " " +
                         std::to_string(line.Number(4));
  const auto& alert = runner.last_alert();
  if (!alert) throw ExpectationFailed(expected, "no alert");
  Check(expected, "alert " + Quote(alert->text) + " " +
                      std::to_string(static_cast<int64_t>(RoundTwips(alert->width))) + " " +
                      std::to_string(static_cast<int64_t>(RoundTwips(alert->height))) + " " +
                      std::to_string(alert->display_time));
}

void ExpectAlerts(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Check("alerts " + std::to_string(line.Number(1)),
        "alerts " + std::to_string(runner.alerts_shown()));
}

void ExpectSound(ScenarioRunner& runner, const ScenarioLine& line) {
  sim::SimSoundDevice* sound = runner.window().controls().sound();
  std::vector<std::string> commands;
  if (sound) commands = sound->TakeCommands();
  Check("sound " + WordList(line, 1), "sound " + WordList(commands));
}

void ExpectPageCalls(ScenarioRunner& runner, const ScenarioLine& line) {
  sim::SimBrowser& browser = BrowserNamed(runner, line.Word(1));
  Check("page-calls " + WordList(line, 2), "page-calls " + WordList(browser.TakePageCalls()));
}

void ExpectBypass(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Control* label = runner.bar_form().FindControl("lblBypass");
  Check("bypass " + line.Word(1), std::string("bypass ") + (label->visible ? "shown" : "hidden"));
}

void ExpectControl(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(4, 4);
  const Control& control = runner.FindControl(line.Word(1));
  const std::string& property = line.Word(2);
  std::string prefix = control.name() + " " + property + " ";
  Check(prefix + Value(line.at(3)), prefix + ControlProperty(control, property));
}

void ExpectLines(ScenarioRunner& runner, const ScenarioLine& line) {
  if (line.size() < 2) throw ScenarioError("lines takes a control");
  Control& control = runner.FindControl(line.Word(1));
  if (control.kind() != ControlKind::kListBox)
    throw ScenarioError(control.name() + " is no list box");
  std::vector<std::string> lines;
  for (std::size_t i = 2; i < line.size(); ++i) lines.push_back(Quote(line.Quoted(i)));
  std::vector<std::string> found;
  for (const std::string& text : control.lines) found.push_back(Quote(text));
  std::string prefix = "lines " + control.name() + " ";
  Check(prefix + WordList(lines), prefix + WordList(found));
}

void ExpectForm(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(3, 3);
  const std::string& name = line.Word(1);
  Check("form " + name + " " + line.Word(2),
        "form " + name + " " + (runner.FindOpenForm(name) ? "open" : "closed"));
}

void ExpectResult(ScenarioRunner& runner, const ScenarioLine& line) {
  const auto& result = runner.last_result();
  Check("result " + Quote(line.Raw()), "result " + (result ? Quote(*result) : "none"));
}

void ExpectBrowserBar(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  auto bar = runner.window().hosting().browser_bar();
  Check("browser-bar " + line.Word(1), std::string("browser-bar ") + (!bar   ? "none"
                                                                      : *bar ? "show"
                                                                             : "hide"));
}

void ExpectFile(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(3, 3);
  std::string path = runner.FilePath(line.Quoted(1));
  sim::SimFileSystem& files = runner.machine().files;
  bool exists = files.FileExists(path) || files.FolderExists(path);
  Check("file " + Quote(path) + " " + line.Word(2),
        "file " + Quote(path) + " " + (exists ? "exists" : "missing"));
}

void ExpectFocusReports(ScenarioRunner& runner, const ScenarioLine& line) {
  std::vector<std::string> reports;
  if (sim::SimBandSite* site = runner.site()) {
    for (bool report : site->TakeFocusReports()) reports.push_back(Bool(report));
  }
  Check("focus-reports " + WordList(line, 1), "focus-reports " + WordList(reports));
}

void ExpectXml(ScenarioRunner& runner, const ScenarioLine& line) {
  BarForm* form = runner.apartment().bar_form();
  Check("xml " + line.Raw(), "xml " + sim::CanonicalText(form ? form->xml_mirror() : nullptr));
}

void ExpectQuit(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  bool quit = runner.window().hosting().quit();
  Check(line.Word(0), quit ? "quit" : "no-quit");
}

void ExpectHelp(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  const auto& call = runner.machine().help.last_call();
  Check("help " + Quote(line.Quoted(1)), "help " + (call ? Quote(call->target) : "none"));
}

void ExpectStarted(ScenarioRunner& runner, const ScenarioLine& line) {
  const auto& started = runner.machine().programs.last_started();
  std::string found = started ? "started " + Quote(*started) : "not-started";
  if (line.Word(0) == "not-started") {
    line.Expect(1, 1);
    Check("not-started", found);
  } else {
    line.Expect(2, 2);
    Check("started " + Quote(runner.FilePath(line.Quoted(1))), found);
  }
}

const CommandTable& Expectations() {
  static const CommandTable kExpectations = [] {
    CommandTable table = {
        {"decision", ExpectDecision},
        {"windows", ExpectWindows},
        {"setting", ExpectSetting},
        {"font", ExpectFont},
        {"sites", ExpectSites},
        {"dialog-url", ExpectDialogUrl},
        {"reg", ExpectReg},
        {"messagebox", ExpectMessageBox},
        {"no-messagebox", ExpectNoMessageBox},
        {"navigated", ExpectNavigated},
        {"no-navigation", ExpectNoNavigation},
        {"alert", ExpectAlert},
        {"alerts", ExpectAlerts},
        {"sound", ExpectSound},
        {"page-calls", ExpectPageCalls},
        {"bypass", ExpectBypass},
        {"control", ExpectControl},
        {"form", ExpectForm},
        {"lines", ExpectLines},
        {"result", ExpectResult},
        {"browser-bar", ExpectBrowserBar},
        {"file", ExpectFile},
        {"focus-reports", ExpectFocusReports},
        {"xml", ExpectXml},
        {"quit", ExpectQuit},
        {"no-quit", ExpectQuit},
        {"help", ExpectHelp},
        {"started", ExpectStarted},
        {"not-started", ExpectStarted},
    };
    AddCapturedListExpectations(table);
    AddBridgeExpectations(table);
    AddMenuExpectations(table);
    return table;
  }();
  return kExpectations;
}

void Expect(ScenarioRunner& runner, const ScenarioLine& line) {
  const std::string& kind = line.Word(0);
  auto expectation = Expectations().find(kind);
  if (expectation == Expectations().end()) throw ScenarioError("unknown expectation " + kind);
  expectation->second(runner, line);
}

}  // namespace

void AddExpectations(CommandTable& table) {
  table["expect"] = Expect;
}

}  // namespace windlock::scenario
