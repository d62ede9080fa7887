#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>

#include "ratio_reporter.h"

namespace windlock::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.iterations > 0) {
      nanoseconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }
  ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::NanosecondsPerIteration(const std::string& name) const {
  auto found = nanoseconds_.find(name);
  if (found == nanoseconds_.end()) throw std::out_of_range("no benchmark run named " + name);
  return found->second;
}

}  // namespace windlock::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  windlock::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  windlock::bench::PrintCaptureDecisionFigures(reporter);
  benchmark::Shutdown();
  return 0;
}
