// The capture decision with 10, 1,000 and 100,000 site entries, none matching the opener: the
// time per decision must not grow with the list (goal: the 100,000 case at most twice the 10
// case).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "backends/sim/sim_machine.h"
#include "capture/hosting_browser_handlers.h"
#include "ratio_reporter.h"

namespace windlock::bench {
namespace {

std::vector<std::string> UnrelatedSites(int64_t count) {
  std::vector<std::string> sites;
  for (int64_t i = 0; i < count; ++i) {
    sites.push_back((i % 2 ? "notrust:" : "trust:") + std::string("site") + std::to_string(i) +
                    ".example");
  }
  return sites;
}

// The bar the decision captures into, loaded and nothing more.
struct LoadedBar : Form {
  LoadedBar() : Form("frmBand") { MarkLoaded(); }
};

void BM_CaptureDecision(benchmark::State& state) {
  sim::SimMachine machine;
  sim::SimWindow& window = machine.Window(1);
  ModuleData module;
  module.settings.PlayAudioCapture = kNoSound;
  module.settings.ShowVisualCapture = false;
  module.settings.PromptToAdd = false;
  module.settings.Sites.Assign(UnrelatedSites(state.range(0)));
  BarFlags flags;
  sim::SimBrowser preview(machine.world, sim::BrowserRole::kPreview);
  sim::SimBrowser skin(machine.world, sim::BrowserRole::kSkin);
  sim::SimSoundDevice device(machine.trace, machine.files);
  CaptureSound sound(device);
  LoadedBar bar;
  CaptureContext context{bar,   window.platform(),  module, flags, preview, skin,
                         sound, [] { return true; }};
  window.hosting().ShowPage("http://opener.example/page.html");
  HostingBrowserHandlers handlers(context);
  handlers.Bind(&window.hosting());

  for (auto _ : state) {
    Browser* target = nullptr;
    bool cancel = false;
    handlers.NewWindow2(target, cancel);
    benchmark::DoNotOptimize(target);
    flags.CapturePending = false;
  }
}
BENCHMARK(BM_CaptureDecision)->Arg(10)->Arg(1000)->Arg(100000);

}  // namespace

void PrintCaptureDecisionFigures(const RatioReporter& reporter) {
  auto small = reporter.NanosecondsPerIteration("BM_CaptureDecision/10");
  auto medium = reporter.NanosecondsPerIteration("BM_CaptureDecision/1000");
  auto large = reporter.NanosecondsPerIteration("BM_CaptureDecision/100000");
  if (!small || !medium || !large) return;
  std::printf("capture decision: %.0f ns with 10 sites, %.0f ns with 1,000, %.0f ns with 100,000\n",
              *small, *medium, *large);
  std::printf("capture decision: ratio 100,000 / 10 = %.2f (goal: at most 2)\n", *large / *small);
}

}  // namespace windlock::bench
