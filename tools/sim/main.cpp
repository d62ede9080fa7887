#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario_runner.h"
#include "scenario_source.h"
#include "windlock/version.h"

namespace {

using windlock::scenario::ScenarioRunner;
using windlock::scenario::ScenarioSource;

constexpr int kUsageError = 2;

constexpr std::string_view kUsage = R"(usage: windlock-sim [OPTION]... FILE...

Runs each scenario FILE on a fresh simulated machine and prints every effect the bar had,
prefixed by the line that caused it, then PASS, FAIL or ERROR for the file and a summary line.

Options:
  -q, --quiet    print only failures and errors and the summary line
  -h, --help     print this help and exit
      --version  print the version and exit
  --             take every later argument as a file, even one starting with -

Exit status:
  0  every expectation held
  1  an expectation failed (each file stops at its first failure)
  2  a scenario error (unknown command or control, bad argument, a modal form still open at the
     end of the file, a file that cannot be read, an include cycle) or a bad command line
)";

struct CommandLine {
  bool quiet = false;
  std::vector<std::string> files;
};

// Runs one file, printing its effects unless quiet and its verdict unless quiet and passed.
ScenarioRunner::Outcome RunFile(const std::string& path, bool quiet) {
  std::vector<std::string> lines;
  ScenarioRunner::Verdict verdict{ScenarioRunner::kError,
                                  "ERROR " + path + ":0: cannot read the file"};
  if (ScenarioSource::ReadLines(path, lines)) {
    std::ostream silent(nullptr);
    verdict = ScenarioRunner(path, lines, quiet ? silent : std::cout).Run();
  }
  if (!quiet || verdict.outcome != ScenarioRunner::kPassed) std::cout << verdict.line << "\n";
  return verdict.outcome;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine command_line;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (options_end || argument == "-" || !argument.starts_with("-")) {
      command_line.files.push_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "-q" || argument == "--quiet") {
      command_line.quiet = true;
    } else if (argument == "-h" || argument == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (argument == "--version") {
      std::cout << "windlock-sim " << windlock::kVersionMajor << "." << windlock::kVersionMinor
                << "." << windlock::kVersionRevision << "\n";
      return 0;
    } else {
      std::cerr << "windlock-sim: unknown option " << argument << "\n" << kUsage;
      return kUsageError;
    }
  }
  if (command_line.files.empty()) {
    std::cerr << "windlock-sim: no scenario file given\n" << kUsage;
    return kUsageError;
  }
  int status = ScenarioRunner::kPassed;
  int passed = 0;
  for (const std::string& file : command_line.files) {
    const ScenarioRunner::Outcome outcome = RunFile(file, command_line.quiet);
    if (outcome == ScenarioRunner::kPassed) ++passed;
    status = std::max(status, static_cast<int>(outcome));
  }
  const int failed = static_cast<int>(command_line.files.size()) - passed;
  std::cout << "scenarios: " << passed << " passed, " << failed << " failed\n";
  return status;
}
