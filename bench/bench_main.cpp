#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "ratio_reporter.h"

namespace windlock::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.iterations > 0) {
      nanoseconds_[run.benchmark_name()] =
          run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
  ConsoleReporter::ReportRuns(runs);
}

std::optional<double> RatioReporter::NanosecondsPerIteration(const std::string& name) const {
  auto found = nanoseconds_.find(name);
  if (found == nanoseconds_.end()) return std::nullopt;
  return found->second;
}

}  // namespace windlock::bench

// --short: each benchmark once, briefly, to prove that the programs build and run; the storms
// still run whole, so the figures print.
int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  char short_time[] = "--benchmark_min_time=0.001";
  for (char*& arg : args) {
    if (std::strcmp(arg, "--short") == 0) arg = short_time;
  }
  args.push_back(nullptr);
  argc = static_cast<int>(args.size()) - 1;
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  windlock::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  windlock::bench::PrintCaptureDecisionFigures(reporter);
  windlock::bench::PrintCaptureStormFigures(reporter);
  benchmark::Shutdown();
  return 0;
}
