#include <benchmark/benchmark.h>

#include <cstdio>

#include "ratio_reporter.h"

namespace windlock::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.iterations > 0) {
      nanoseconds_[run.benchmark_name()] =
          run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
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

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  windlock::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  windlock::bench::PrintCaptureDecisionFigures(reporter);
  windlock::bench::PrintCaptureStormFigures(reporter);
  benchmark::Shutdown();
  return 0;
}
