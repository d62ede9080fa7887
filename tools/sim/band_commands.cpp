#include <cinttypes>
#include <cstdio>

#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

// Band calls print their HRESULT, which is also the line's result.
void Report(ScenarioRunner& runner, const char* call, HResult result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08" PRIX32, static_cast<uint32_t>(result));
  runner.machine().trace(std::string(call) + " " + text);
  runner.SetResult(text);
}

void Create(ScenarioRunner& runner) {
  WindowState& state = runner.state();
  state.bands.push_back({nullptr, std::make_unique<Band>(*state.apartment)});
}

void SetSite(ScenarioRunner& runner, const std::string& form) {
  WindowState& state = runner.state();
  sim::SimMachine& machine = runner.machine();
  std::unique_ptr<sim::SimBandSite> site;
  if (form == "no-window") {
    site = std::make_unique<sim::SimBandSite>(machine.trace, runner.window().hosting(), 0);
  } else if (form != "null") {
    if (!state.site_window) state.site_window = machine.windows.CreateHostWindow("bar site");
    site = std::make_unique<sim::SimBandSite>(machine.trace, runner.window().hosting(),
                                              state.site_window);
  }
  Report(runner, "SetSite", runner.band().SetSite(site.get()));
  state.bands.back().site = std::move(site);
}

void BandInfoCall(ScenarioRunner& runner, uint32_t mask) {
  BandInfo info{mask, {7, 7}, {7, 7}, {7, 7}, {7, 7}, "?", 7, 7};
  runner.band().GetBandInfo(info);
  auto point = [](const BandPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
  std::string text = "min=" + point(info.min_size) + " max=" + point(info.max_size) +
                     " integral=" + point(info.integral) + " actual=" + point(info.actual) +
                     " title=" + info.title + " modeflags=" + std::to_string(info.mode_flags) +
                     " bkcolor=" + std::to_string(info.background) +
                     " mask=" + std::to_string(info.mask);
  runner.machine().trace("GetBandInfo " + text);
  runner.SetResult(text);
}

void ShowDW(ScenarioRunner& runner, bool show) {
  Report(runner, "ShowDW", runner.band().ShowDW(show));
}

void Resize(ScenarioRunner& runner, float width, float height) {
  runner.bar_form().Resize(width, height);
}

bool Flag(const ScenarioLine& line, std::size_t index) {
  int64_t value = line.Number(index);
  if (value != 0 && value != 1) throw ScenarioError("1 or 0, not " + std::to_string(value));
  return value == 1;
}

void DeliverToBar(ScenarioRunner& runner, uint32_t message) {
  WindowHandle window = runner.bar_form().hWnd();
  WindowSystem& windows = runner.machine().windows;
  windows.CallWindowProcedure(windows.GetWindowProcedure(window), {window, message, 0, 0});
}

void Start(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  Create(runner);
  SetSite(runner, "site");
  BandInfoCall(runner, 63);
  ShowDW(runner, true);
  runner.bar_form().Activate();
  Resize(runner, 5250, 9000);
}

}  // namespace

void AddBandCommands(CommandTable& table) {
  table["start"] = Start;
  table["create"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    Create(runner);
  };
  table["setsite"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 1);
    std::string form = line.size() == 0 ? "site" : line.Word(0);
    if (form != "site" && form != "null" && form != "no-window") {
      throw ScenarioError("setsite, setsite null or setsite no-window");
    }
    SetSite(runner, form);
  };
  table["showdw"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(1, 1);
    ShowDW(runner, Flag(line, 0));
  };
  table["closedw"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    Report(runner, "CloseDW", runner.band().CloseDW());
  };
  table["release"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    runner.band();
    WindowState& state = runner.state();
    state.bands.pop_back();
    if (state.bands.empty()) state.apartment.emplace(state.window.platform());
  };
  table["bandinfo"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(1, 1);
    BandInfoCall(runner, static_cast<uint32_t>(line.Number(0)));
  };
  table["hasfocus"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    std::string answer = runner.band().HasFocusIO() == kSOk ? "S_OK" : "S_FALSE";
    runner.machine().trace("HasFocusIO " + answer);
    runner.SetResult(answer);
  };
  table["uiactivate"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(1, 1);
    Report(runner, "UIActivateIO", runner.band().UIActivateIO(Flag(line, 0)));
  };
  table["accelerator"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(2, 2);
    const std::string& kind = line.Word(0);
    if (kind != "keydown" && kind != "keyup") throw ScenarioError("accelerator keydown or keyup");
    WindowHandle window = 0;
    runner.band().GetWindow(window);
    WindowMessage message{window, kind == "keydown" ? kWmKeyDown : kWmKeyUp,
                          static_cast<uintptr_t>(line.Number(1)), 0};
    Report(runner, "TranslateAcceleratorIO", runner.band().TranslateAcceleratorIO(message));
  };
  // The browser shows or hides the window it gives bands (its Explorer Bar pane), as it may
  // without calling ShowDW.
  table["site-window"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(1, 1);
    const std::string& state = line.Word(0);
    if (state != "shown" && state != "hidden") throw ScenarioError("site-window shown or hidden");
    WindowHandle window = runner.state().site_window;
    if (!window) throw ScenarioError("the browser has given no site with a window yet");
    runner.machine().windows.ShowWindow(window, state == "shown");
  };
  table["focus"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    DeliverToBar(runner, kWmSetFocus);
  };
  table["blur"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    DeliverToBar(runner, kWmKillFocus);
  };
  table["menu"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    MenuHandle menu = runner.machine().menus.CreatePopupMenu();
    runner.SetLastMenu(menu);
    Report(runner, "QueryContextMenu", runner.band().QueryContextMenu(menu, 0, 0, 1000, 0));
  };
  table["invoke"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(1, 1);
    Report(runner, "InvokeCommand",
           runner.band().InvokeCommand(static_cast<uint32_t>(line.Number(0))));
  };
  table["activate"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(0, 0);
    runner.bar_form().Activate();
  };
  table["resize"] = [](ScenarioRunner& runner, const ScenarioLine& line) {
    line.Expect(2, 2);
    Resize(runner, static_cast<float>(line.Number(0)), static_cast<float>(line.Number(1)));
  };
}

}  // namespace windlock::scenario
