#include "scenario_line.h"

#include <charconv>

#include "scenario_errors.h"

namespace windlock::scenario {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

ScenarioLine::ScenarioLine(std::string text) : text_(std::move(text)) {
  std::size_t at = 0;
  while (at < text_.size()) {
    if (IsBlank(text_[at])) {
      ++at;
      continue;
    }
    if (tokens_.empty() && text_[at] == '#') break;
    if (text_[at] == '"') {
      std::size_t close = text_.find('"', at + 1);
      if (close == std::string::npos) throw ScenarioError("unterminated quoted argument");
      tokens_.push_back({text_.substr(at + 1, close - at - 1), true, at});
      at = close + 1;
      continue;
    }
    std::size_t end = at;
    while (end < text_.size() && !IsBlank(text_[end])) ++end;
    tokens_.push_back({text_.substr(at, end - at), false, at});
    at = end;
  }
}

const Token& ScenarioLine::at(std::size_t index) const {
  if (index >= size()) throw ScenarioError("missing argument " + std::to_string(index + 1));
  return tokens_[index + 1];
}

const std::string& ScenarioLine::Word(std::size_t index) const {
  return at(index).text;
}

const std::string& ScenarioLine::Quoted(std::size_t index) const {
  const Token& token = at(index);
  if (!token.quoted)
    throw ScenarioError("argument " + std::to_string(index + 1) + " must be quoted");
  return token.text;
}

int64_t ScenarioLine::Number(std::size_t index) const {
  const Token& token = at(index);
  int64_t number = 0;
  const char* begin = token.text.data();
  const char* end = begin + token.text.size();
  auto [ptr, ec] = std::from_chars(begin, end, number);
  if (token.quoted || token.text.empty() || ec != std::errc() || ptr != end) {
    throw ScenarioError("not a number: " + token.text);
  }
  return number;
}

std::string ScenarioLine::Raw() const {
  std::size_t first = text_.find('"');
  std::size_t last = text_.rfind('"');
  if (first == std::string::npos || last == first) throw ScenarioError("missing quoted argument");
  return text_.substr(first + 1, last - first - 1);
}

void ScenarioLine::Expect(std::size_t min, std::size_t max) const {
  if (size() < min || size() > max) {
    throw ScenarioError("wrong number of arguments for " + command());
  }
}

}  // namespace windlock::scenario
