// windlock-sim on arbitrary text as a scenario file: every outcome (passed, failed, scenario
// error) is fine; a crash or a hang is not.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "scenario_runner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  std::ostringstream out;
  windlock::scenario::ScenarioRunner("fuzz.scn", std::move(lines), out).Run();
  return 0;
}
