#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

void Navigate(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  runner.window().hosting().ShowPage(line.Quoted(0));
}

void Complete(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.window().hosting().RaiseDocumentComplete();
}

void Popup(ScenarioRunner& runner, const ScenarioLine& line) {
  NavigateRequest request{line.Quoted(0), 0, "", {}, ""};
  std::optional<std::string> title;
  for (std::size_t i = 1; i < line.size(); i += 2) {
    const std::string& option = line.Word(i);
    if (option == "flags") {
      request.flags = static_cast<int32_t>(line.Number(i + 1));
    } else if (option == "post") {
      const std::string& post = line.Quoted(i + 1);
      request.post_data = Variant::Bytes(post.begin(), post.end());
    } else if (option == "headers") {
      request.headers = line.Quoted(i + 1);
    } else if (option == "target") {
      request.target_frame_name = line.Quoted(i + 1);
    } else if (option == "title") {
      title = line.Quoted(i + 1);
    } else {
      throw ScenarioError("unknown popup option " + option);
    }
  }
  runner.window().hosting().OpenWindow(request, title);
}

void Quit(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.window().hosting().RaiseOnQuit();
}

void SoundDone(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  sim::SimSoundDevice* sound = runner.window().controls().sound();
  if (!sound) throw ScenarioError("this window has no sound device");
  sound->FinishPlaying();
}

void Hold(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.machine().navigations.Hold();
}

void Deliver(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(0, 0);
  runner.machine().navigations.Release();
}

}  // namespace

void AddBrowserCommands(CommandTable& table) {
  table["navigate"] = Navigate;
  table["complete"] = Complete;
  table["popup"] = Popup;
  table["quit"] = Quit;
  table["sound-done"] = SoundDone;
  table["hold"] = Hold;
  table["deliver"] = Deliver;
}

}  // namespace windlock::scenario
