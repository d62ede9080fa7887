#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "scenario_runner.h"

namespace {

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  return true;
}

}  // namespace

// windlock-sim FILE...: runs each scenario on a fresh simulated machine. Exit status: 0 when every
// expectation held, 1 when one failed, 2 on a scenario error.
int main(int argc, char** argv) {
  using windlock::scenario::ScenarioRunner;
  if (argc < 2) {
    std::cerr << "usage: windlock-sim FILE...\n";
    return 2;
  }
  int status = ScenarioRunner::kPassed;
  int passed = 0;
  int failed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::string> lines;
    ScenarioRunner::Outcome outcome = ScenarioRunner::kError;
    if (ReadLines(argv[i], lines)) {
      outcome = ScenarioRunner(argv[i], std::move(lines), std::cout).Run();
    } else {
      std::cout << "ERROR " << argv[i] << ":0: cannot read the file\n";
    }
    if (outcome == ScenarioRunner::kPassed) {
      ++passed;
    } else {
      ++failed;
    }
    status = std::max(status, static_cast<int>(outcome));
  }
  std::cout << "scenarios: " << passed << " passed, " << failed << " failed\n";
  return status;
}
