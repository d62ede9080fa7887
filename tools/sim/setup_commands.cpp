#include "backends/sim/sim_machine.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

void Reg(ScenarioRunner& runner, const ScenarioLine& line) {
  std::string path = runner.RegistryPath(line.Quoted(0));
  sim::SimRegistry& registry = runner.machine().registry;
  const std::string& kind = line.Word(1);
  if (kind == "dword") {
    line.Expect(3, 3);
    registry.Put(path, {RegistryValue::Kind::kDword, {}, static_cast<uint32_t>(line.Number(2))});
  } else if (kind == "sz") {
    line.Expect(3, 3);
    registry.Put(path, {RegistryValue::Kind::kString, line.Quoted(2), 0});
  } else if (kind == "sz-nonul") {
    line.Expect(3, 3);
    registry.PutRaw(path, {kRegSz, line.Quoted(2)});
  } else if (kind == "binary") {
    line.Expect(2, 2);
    registry.Put(path, {RegistryValue::Kind::kOther, {}, 0});
  } else if (kind == "delete") {
    line.Expect(2, 2);
    registry.Remove(path);
  } else if (kind == "readonly") {
    line.Expect(2, 2);
    registry.MakeReadOnly(path);
  } else if (kind == "noaccess") {
    line.Expect(2, 2);
    registry.DenyAccess(path);
  } else {
    throw ScenarioError(
        "reg takes dword, sz, sz-nonul, binary, delete, readonly or noaccess, not " + kind);
  }
}

void File(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 2);
  runner.machine().files.AddFile(runner.FilePath(line.Quoted(0)),
                                 line.size() == 2 ? line.Quoted(1) : std::string());
}

void Folder(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.machine().files.AddFolder(runner.FilePath(line.Quoted(0)));
}

void Remove(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.machine().files.RemovePath(runner.FilePath(line.Quoted(0)));
}

void ReadOnly(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.machine().files.MakeReadOnly(runner.FilePath(line.Quoted(0)));
}

// locked "PATH": another program holds the file or folder open.
void Locked(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  if (!runner.machine().files.MarkInUse(runner.FilePath(line.Quoted(0)))) {
    throw ScenarioError("no file or folder " + line.Quoted(0));
  }
}

// fail WHAT on|off: from now on a platform service fails as it can on Windows.
void Fail(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  const std::string& what = line.Word(0);
  const std::string& state = line.Word(1);
  if (state != "on" && state != "off") throw ScenarioError("fail " + what + " on or off");
  if (what == "xml") {
    runner.machine().xml.SetUnavailable(state == "on");
  } else if (what == "controls") {
    // The selected window's hosted controls, as on a thread without COM.
    runner.window().controls().SetFailing(state == "on");
  } else {
    throw ScenarioError("nothing called " + what + " can be made to fail");
  }
}

void Window(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.SelectWindow(static_cast<int>(line.Number(0)));
}

Font ParseFontAnswer(const ScenarioLine& line) {
  Font font;
  font.name = line.Quoted(1);
  font.size = static_cast<float>(line.Number(2));
  for (std::size_t i = 3; i < line.size(); ++i) {
    const std::string& style = line.Word(i);
    if (style == "bold") {
      font.bold = true;
    } else if (style == "italic") {
      font.italic = true;
    } else if (style == "underline") {
      font.underline = true;
    } else if (style == "strikethrough") {
      font.strikethrough = true;
    } else {
      throw ScenarioError("unknown font style " + style);
    }
  }
  return font;
}

void Answer(ScenarioRunner& runner, const ScenarioLine& line) {
  sim::SimUi& ui = runner.machine().ui;
  const std::string& dialog = line.Word(0);
  bool cancel = line.size() == 2 && !line.at(1).quoted && line.Word(1) == "cancel";
  if (dialog == "font") {
    ui.QueueFont(cancel ? std::nullopt : std::optional<Font>(ParseFontAnswer(line)));
  } else if (dialog == "file") {
    line.Expect(2, 2);
    ui.QueueFile(cancel ? std::nullopt : std::optional<std::string>(line.Quoted(1)));
  } else if (dialog == "menu") {
    line.Expect(2, 2);
    runner.machine().menus.QueueChoice(static_cast<uint32_t>(line.Number(1)));
  } else if (dialog == "messagebox") {
    line.Expect(2, 2);
    const std::string& answer = line.Word(1);
    if (answer == "hold") {
      ui.HoldNextMessageBox();
    } else if (answer == "yes" || answer == "no") {
      ui.QueueYesNo(answer == "yes");
    } else {
      throw ScenarioError("answer messagebox yes, no or hold");
    }
  } else {
    throw ScenarioError("answer font, file, menu or messagebox, not " + dialog);
  }
}

}  // namespace

void AddSetupCommands(CommandTable& table) {
  table["reg"] = Reg;
  table["file"] = File;
  table["folder"] = Folder;
  table["remove"] = Remove;
  table["readonly"] = ReadOnly;
  table["locked"] = Locked;
  table["window"] = Window;
  table["answer"] = Answer;
  table["fail"] = Fail;
}

}  // namespace windlock::scenario
