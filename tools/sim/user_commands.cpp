#include "common/utf8.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

void Shift(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  const std::string& state = line.Word(0);
  if (state != "down" && state != "up") throw ScenarioError("shift down or shift up");
  runner.machine().keyboard.SetShift(state == "down");
}

void Advance(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  int64_t milliseconds = line.Number(0);
  if (milliseconds < 0 || milliseconds > UINT32_MAX) throw ScenarioError("advance takes 0 or more");
  runner.machine().scheduler.Advance(static_cast<uint32_t>(milliseconds));
}

void Click(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.FindControl(line.Word(0)).Click();
}

void Check(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  const std::string& state = line.Word(1);
  if (state != "on" && state != "off") throw ScenarioError("check CONTROL on or off");
  Control& control = runner.FindControl(line.Word(0));
  if (control.kind() != ControlKind::kCheckBox)
    throw ScenarioError(control.name() + " is no check box");
  control.SetChecked(state == "on");
}

void Type(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  runner.FindControl(line.Word(0)).Type(line.Quoted(1));
}

void Leave(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.FindControl(line.Word(0)).Leave();
}

void Slide(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Control& control = runner.FindControl(line.Word(0));
  if (control.kind() != ControlKind::kSlider) throw ScenarioError(control.name() + " is no slider");
  int64_t position = line.Number(1);
  if (position < INT32_MIN || position > INT32_MAX) throw ScenarioError("position out of range");
  control.Slide(static_cast<int>(position));
}

void Key(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  const Token& key = line.at(0);
  if (!key.quoted && key.text == "ctrl-tab") {
    runner.TopForm().CtrlTab();
    return;
  }
  if (!key.quoted || CharCount(key.text) != 1)
    throw ScenarioError("key takes one quoted character");
  runner.TopForm().KeyPress(static_cast<unsigned char>(key.text[0]));
}

void Escape(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.TopForm().PressEscape();
}

void Enter(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.TopForm().PressEnter();
}

void Close(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.TopForm().CloseBox();
}

}  // namespace

// Line N of a list box (from 0) or tab N (from 1) of a tab strip, as the user picks it.
void SelectLineOrTab(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Control& control = runner.FindControl(line.Word(0));
  int64_t index = line.Number(1);
  if (control.kind() == ControlKind::kTabStrip) {
    if (index < 1 || index > static_cast<int64_t>(control.lines.size()))
      throw ScenarioError(control.name() + " has no tab " + std::to_string(index));
  } else if (control.kind() == ControlKind::kListBox) {
    if (index < 0 || index >= static_cast<int64_t>(control.lines.size()))
      throw ScenarioError(control.name() + " has no line " + std::to_string(index));
  } else {
    throw ScenarioError(control.name() + " is no list box or tab strip");
  }
  control.Select(static_cast<int>(index));
}

void AddUserCommands(CommandTable& table) {
  table["shift"] = Shift;
  table["advance"] = Advance;
  table["click"] = Click;
  table["check"] = Check;
  table["type"] = Type;
  table["leave"] = Leave;
  table["key"] = Key;
  table["slide"] = Slide;
  table["escape"] = Escape;
  table["enter"] = Enter;
  table["close"] = Close;
}

}  // namespace windlock::scenario
