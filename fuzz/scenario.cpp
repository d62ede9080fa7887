// windlock-sim on arbitrary text as a scenario file: every outcome (passed, failed, scenario
// error) is fine; a crash or a hang is not.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "scenario_errors.h"
#include "scenario_runner.h"

namespace {

using windlock::scenario::ScenarioLine;

// Simulated time costs real time: every running timer ticks through all of it, the bar's 100 ms
// bypass indicator 36,000 times an hour in each window. Files that let more than ten minutes
// pass are passed over, so that a run that is slow by design is not taken for a hang.
constexpr int64_t kMaxSimulatedTime = 10 * 60 * 1000;

bool LetsTooMuchTimePass(const std::vector<std::string>& lines) {
  int64_t total = 0;
  for (const std::string& text : lines) {
    try {
      const ScenarioLine line(text);
      if (line.blank() || line.command() != "advance" || line.size() == 0) continue;
      const int64_t milliseconds = line.Number(0);
      if (milliseconds > kMaxSimulatedTime - total) return true;
      if (milliseconds > 0) total += milliseconds;
    } catch (const windlock::scenario::ScenarioError&) {
      // The runner reports the line.
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  if (LetsTooMuchTimePass(lines)) return -1;
  std::ostringstream out;
  windlock::scenario::ScenarioRunner("fuzz.scn", lines, out).Run();
  return 0;
}
