#pragma once

#include <stdexcept>
#include <string>

namespace windlock::scenario {

// A line the runner cannot carry out (exit status 2).
class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An expectation that did not hold (exit status 1).
class ExpectationFailed : public std::runtime_error {
 public:
  ExpectationFailed(const std::string& expected, const std::string& found)
      : std::runtime_error(expected + " | got " + found) {}
};

}  // namespace windlock::scenario
