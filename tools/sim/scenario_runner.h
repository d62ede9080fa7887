#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "backends/sim/sim_band_site.h"
#include "backends/sim/sim_machine.h"
#include "host/apartment.h"
#include "host/band.h"
#include "platform/xml_document.h"
#include "scenario_line.h"
#include "scenario_source.h"

namespace windlock::scenario {

class ScenarioRunner;
using Command = std::function<void(ScenarioRunner&, const ScenarioLine&)>;
using CommandTable = std::map<std::string, Command>;

// One browser window's thread as the scenario drives it: its module data, the site the browser
// gives bands, and the bands it holds (the last created is the one the commands address).
struct WindowState {
  explicit WindowState(sim::SimWindow& window) : window(window) {
    apartment.emplace(window.platform());
  }

  sim::SimWindow& window;
  // The thread's module data: made anew once the last band is released, as the DLL's goes with
  // the last band of its thread.
  std::optional<Apartment> apartment;
  // A band and the site given to it last; the one before is destroyed once the next SetSite
  // returns, as the DLL destroys its wrapper of the browser's site. The band goes first.
  struct HeldBand {
    std::unique_ptr<sim::SimBandSite> site;
    std::unique_ptr<Band> band;
  };

  // The window the browser gives bands, the same for every site it gives.
  WindowHandle site_window = 0;
  // Last: a band lets its form go before the apartment and the sites it points to.
  std::vector<HeldBand> bands;
};

// What the last capture alert showed.
struct AlertRecord {
  std::string text;
  float width = 0;
  float height = 0;
  uint32_t display_time = 0;
};

// Runs one scenario file against a fresh simulated machine, printing every effect prefixed by
// the line that caused it. Lines that follow a modal form run inside it, as a nested message
// loop would run them.
class ScenarioRunner {
 public:
  enum Outcome { kPassed = 0, kFailed = 1, kError = 2 };
  // How the run ended, with its line: PASS FILE, FAIL FILE:LINE: ... or ERROR FILE:LINE: ...
  struct Verdict {
    Outcome outcome;
    std::string line;
  };

  ScenarioRunner(std::string file_name, const std::vector<std::string>& lines, std::ostream& out);
  ~ScenarioRunner();

  Verdict Run();

  // For the commands.
  sim::SimMachine& machine() { return machine_; }
  sim::SimWindow& window() { return machine_.Window(window_id_); }
  void SelectWindow(int id);
  WindowState& state();
  Apartment& apartment() { return *state().apartment; }
  // The band the browser of this window created last; fails when there is none.
  Band& band();
  // The site the addressed band was given last, or none.
  sim::SimBandSite* site();
  // The bar form of the current window; fails when it is not loaded.
  BarForm& bar_form();
  // The topmost open modal form, or the bar form.
  Form& TopForm();
  Control& FindControl(const std::string& name);
  // The host, preview or skin browser of the current window; none while the bar has not made
  // it. Fails on any other name.
  sim::SimBrowser* FindBrowser(const std::string& name);
  Form* FindOpenForm(const std::string& name);
  std::string RegistryPath(const std::string& path) const;
  std::string FilePath(const std::string& path) const;
  void SetResult(std::string result) { last_result_ = std::move(result); }
  // The menu the last `menu` line had built.
  void SetLastMenu(MenuHandle menu) { last_menu_ = menu; }
  std::optional<MenuHandle> last_menu() const { return last_menu_; }
  const std::optional<std::string>& last_result() const { return last_result_; }
  const std::optional<AlertRecord>& last_alert() const { return last_alert_; }
  // The XML document the last bridge call was given, as the call left it; none when it had none.
  void SetBridgeDocument(std::shared_ptr<XmlDocument> document) {
    bridge_document_ = std::move(document);
  }
  const std::shared_ptr<XmlDocument>& bridge_document() const { return bridge_document_; }
  int alerts_shown() const { return alerts_shown_; }
  // The oldest message box no expectation has looked at yet; none when all were checked.
  const sim::ShownMessageBox* NextUncheckedMessageBox();
  bool AllMessageBoxesChecked() const;

 private:
  void RunNextLine();
  void RunLine(std::size_t index);
  void Print(const std::string& effect);
  void OnModalShown(Form& form);
  std::string Where() const;

  ScenarioSource source_;
  std::ostream& out_;
  sim::SimMachine machine_;
  // After the machine: the windows' forms hold its services.
  std::map<int, std::unique_ptr<WindowState>> windows_;
  int window_id_ = 1;
  std::size_t next_line_ = 0;
  SourceLocation current_;
  std::optional<std::string> last_result_;
  std::optional<MenuHandle> last_menu_;
  std::optional<AlertRecord> last_alert_;
  std::shared_ptr<XmlDocument> bridge_document_;
  int alerts_shown_ = 0;
  std::size_t checked_message_boxes_ = 0;
  CommandTable commands_;
};

// The command groups, each adding its commands to the table.
void AddSetupCommands(CommandTable& table);
void AddBrowserCommands(CommandTable& table);
void AddUserCommands(CommandTable& table);
// `select CONTROL N` on a list box or a tab strip.
void SelectLineOrTab(ScenarioRunner& runner, const ScenarioLine& line);
void AddBandCommands(CommandTable& table);
void AddPaneCommands(CommandTable& table);
void AddListCommands(CommandTable& table);
void AddBridgeCommands(CommandTable& table);
void AddExpectations(CommandTable& table);
// Expectation groups, each adding to the table of `expect` kinds.
void AddCapturedListExpectations(CommandTable& expectations);
void AddBridgeExpectations(CommandTable& expectations);
void AddMenuExpectations(CommandTable& expectations);

}  // namespace windlock::scenario
