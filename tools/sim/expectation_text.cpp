#include "expectation_text.h"

#include "backends/sim/sim_trace.h"
#include "scenario_errors.h"

namespace windlock::scenario {

using sim::Quote;

std::string Bool(bool value) {
  return value ? "true" : "false";
}

void Check(const std::string& expected, const std::string& found) {
  if (expected != found) throw ExpectationFailed(expected, found);
}

std::string QuotedList(const ScenarioLine& line, std::size_t first) {
  std::string list;
  for (std::size_t i = first; i < line.size(); ++i) {
    if (!list.empty()) list += " ";
    list += Quote(line.Quoted(i));
  }
  return list;
}

std::string QuotedList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) {
    if (!list.empty()) list += " ";
    list += Quote(item);
  }
  return list;
}

std::string WordList(const ScenarioLine& line, std::size_t first) {
  std::string list;
  for (std::size_t i = first; i < line.size(); ++i) {
    if (!list.empty()) list += " ";
    list += line.at(i).text;
  }
  return list;
}

std::string WordList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : " ") + item;
  return list;
}

std::string Value(const Token& token) {
  return token.quoted ? Quote(token.text) : token.text;
}

}  // namespace windlock::scenario
