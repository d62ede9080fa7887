// A pop-up storm: 1,000, 10,000 and 100,000 pop-ups captured in a row, each posting 1 KB, into a
// bar whose skin page shows the selection box. A capture must cost the same however many came
// before it: the mean cost per capture at 100,000 should be at most 1.5 times that at 1,000.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "backends/sim/sim_machine.h"
#include "host/apartment.h"
#include "ratio_reporter.h"

namespace windlock::bench {
namespace {

constexpr const char* kSkinPage =
    "<html><body><div id=\"InsertCaptureList\"></div>"
    "<script>function OnUpdateList() {} function OnPreview(url) {}</script></body></html>";

// A bar in a browser window showing a page, with a skin page holding the selection box, that
// captures every pop-up quietly.
struct StormBar {
  StormBar() : window(machine.Window(1)), apartment(window.platform()) {
    machine.files.AddFile("C:\\skin.htm", kSkinPage);
    Settings& settings = apartment.module().settings;
    settings.PlayAudioCapture = kNoSound;
    settings.ShowVisualCapture = false;
    settings.PromptToAdd = false;
    settings.CaptureWhenClosed = true;
    settings.DefaultSkin = "Original";
    form = &apartment.LoadBarForm();
    form->SetCurrentIE(&window.hosting());
    skin = &dynamic_cast<sim::SimBrowser&>(form->webImages());
    form->webImages().Navigate2(NavigateRequest::To("C:\\skin.htm"));
    machine.navigations.DeliverAll();
    window.hosting().ShowPage("http://storm.example/");
  }

  void Popup(int64_t i) {
    window.hosting().OpenWindow(
        NavigateRequest{"http://ads.example/" + std::to_string(i), 0, "", post, ""}, std::nullopt);
    machine.navigations.DeliverAll();
    // What the simulated page records of the bar's calls is no part of the bar.
    skin->TakePageCalls();
  }

  sim::SimMachine machine;
  sim::SimWindow& window;
  Apartment apartment;
  BarForm* form = nullptr;
  sim::SimBrowser* skin = nullptr;
  const Variant post = Variant::Bytes(1024, 'p');
};

void BM_CaptureStorm(benchmark::State& state) {
  const int64_t popups = state.range(0);
  // Kept to the end, so that each storm grows the heap as one long storm does, instead of
  // reusing what the storm before it gave back.
  std::vector<std::unique_ptr<StormBar>> bars;
  for (auto _ : state) {
    state.PauseTiming();
    StormBar& bar = *bars.emplace_back(std::make_unique<StormBar>());
    state.ResumeTiming();
    for (int64_t i = 0; i < popups; ++i) bar.Popup(i);
    state.PauseTiming();
    if (bar.form->captured().CapturedCount() != static_cast<std::size_t>(popups)) {
      state.SkipWithError("not every pop-up was captured");
    }
    state.ResumeTiming();
  }
}
// The small storm runs several times: alone it is over too soon to time well.
BENCHMARK(BM_CaptureStorm)->Arg(1000)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaptureStorm)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaptureStorm)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Bytes the heap hands out now.
std::size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The heap grown per captured entry over a storm of 10,000.
double BytesPerEntry() {
  constexpr int64_t kEntries = 10000;
  StormBar bar;
  bar.Popup(0);
  std::size_t before = HeapInUse();
  for (int64_t i = 1; i <= kEntries; ++i) bar.Popup(i);
  return static_cast<double>(HeapInUse() - before) / kEntries;
}

}  // namespace

void PrintCaptureStormFigures(const RatioReporter& reporter) {
  auto small = reporter.NanosecondsPerIteration("BM_CaptureStorm/1000/iterations:10");
  auto large = reporter.NanosecondsPerIteration("BM_CaptureStorm/100000/iterations:1");
  if (!small || !large) return;
  double per_small = *small / 1000;
  double per_large = *large / 100000;
  std::printf("capture storm: %.1f us per capture with 1,000 pop-ups, %.1f us with 100,000\n",
              per_small / 1000, per_large / 1000);
  std::printf("capture storm: ratio 100,000 / 1,000 = %.2f (goal: at most 1.5)\n",
              per_large / per_small);
  std::printf("capture storm: 100,000 pop-ups in %.0f ms\n", *large / 1e6);
  std::printf("capture storm: %.0f bytes per captured entry with a 1 KB POST body\n",
              BytesPerEntry());
}

}  // namespace windlock::bench
