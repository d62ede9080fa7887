#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>

namespace windlock::bench {

// The console report, plus the time per iteration of every run by name, so a program can print
// how one size compares with another.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  // Nanoseconds of CPU time per iteration of the named run (e.g. "BM_CaptureDecision/100000"),
  // or none when it did not run (a filter left it out). CPU time, not wall time: a ratio must
  // not change with what else the machine runs meanwhile.
  std::optional<double> NanosecondsPerIteration(const std::string& name) const;

 private:
  std::map<std::string, double> nanoseconds_;
};

// The figures each benchmark file prints after all runs.
void PrintCaptureDecisionFigures(const RatioReporter& reporter);
void PrintCaptureStormFigures(const RatioReporter& reporter);

}  // namespace windlock::bench
