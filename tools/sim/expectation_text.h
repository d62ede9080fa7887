#pragma once

#include <string>
#include <vector>

#include "scenario_line.h"

namespace windlock::scenario {

// How expectations write what they expected and what they found, so that the two compare as
// texts and a failure shows both.
std::string Bool(bool value);
// Fails the expectation unless the texts are equal.
void Check(const std::string& expected, const std::string& found);
// The quoted arguments from `first` on, as one list text.
std::string QuotedList(const ScenarioLine& line, std::size_t first);
std::string QuotedList(const std::vector<std::string>& items);
// The words from `first` on, as one list text.
std::string WordList(const ScenarioLine& line, std::size_t first);
std::string WordList(const std::vector<std::string>& items);
// An expected value as written: a quoted text stays text, a word is compared as it is.
std::string Value(const Token& token);

}  // namespace windlock::scenario
