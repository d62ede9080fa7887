// A pop-up storm: N pop-ups captured in a row into a bar whose skin page shows the selection box.
// Each capture brings every view up to date, so the cost per capture may grow with the list but
// only linearly: the mean cost per capture for 10,000 pop-ups should be about ten times that for
// 1,000 (goal: at most 15).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "host/apartment.h"
#include "platform/sim/sim_machine.h"
#include "ratio_reporter.h"

namespace windlock::bench {
namespace {

constexpr const char* kSkinPage =
    "<html><body><div id=\"InsertCaptureList\"></div>"
    "<script>function OnUpdateList() {} function OnPreview(url) {}</script></body></html>";

void BM_CaptureStorm(benchmark::State& state) {
  const int64_t popups = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    sim::SimMachine machine;
    sim::SimWindow& window = machine.Window(1);
    machine.files.AddFile("C:\\skin.htm", kSkinPage);
    Apartment apartment(window.platform());
    Settings& settings = apartment.module().settings;
    settings.PlayAudioCapture = kNoSound;
    settings.ShowVisualCapture = false;
    settings.PromptToAdd = false;
    settings.CaptureWhenClosed = true;
    settings.DefaultSkin = "Original";
    BarForm& form = apartment.LoadBarForm();
    form.SetCurrentIE(&window.hosting());
    form.webImages().Navigate2(NavigateRequest::To("C:\\skin.htm"));
    machine.navigations.DeliverAll();
    window.hosting().ShowPage("http://storm.example/");
    state.ResumeTiming();

    for (int64_t i = 0; i < popups; ++i) {
      window.hosting().OpenWindow(
          NavigateRequest{"http://ads.example/" + std::to_string(i), 0, "", {}, ""}, std::nullopt);
    }
    benchmark::DoNotOptimize(form.captured().CapturedCount());
  }
}
BENCHMARK(BM_CaptureStorm)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

void PrintCaptureStormFigures(const RatioReporter& reporter) {
  auto small = reporter.NanosecondsPerIteration("BM_CaptureStorm/1000/iterations:1");
  auto large = reporter.NanosecondsPerIteration("BM_CaptureStorm/10000/iterations:1");
  if (!small || !large) return;
  double per_small = *small / 1000;
  double per_large = *large / 10000;
  std::printf("capture storm: %.1f us per capture with 1,000 pop-ups, %.1f us with 10,000\n",
              per_small / 1000, per_large / 1000);
  std::printf("capture storm: ratio 10,000 / 1,000 = %.2f (goal: at most 15)\n",
              per_large / per_small);
  std::printf("capture storm: 10,000 pop-ups in %.0f ms\n", *large / 1e6);
}

}  // namespace windlock::bench
