#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace windlock::scenario {

struct Token {
  std::string text;
  bool quoted = false;
  std::size_t offset = 0;  // where the token starts in the line (its opening quote, if any)
};

// One scenario line split into words and quoted arguments, with typed access that reports a
// bad argument as a scenario error.
class ScenarioLine {
 public:
  // Fails on an unterminated quote.
  explicit ScenarioLine(std::string text);

  const std::string& text() const { return text_; }
  bool blank() const { return tokens_.empty(); }
  const std::string& command() const { return tokens_.front().text; }
  // Arguments after the command word.
  std::size_t size() const { return tokens_.size() - 1; }
  const Token& at(std::size_t index) const;

  const std::string& Word(std::size_t index) const;
  const std::string& Quoted(std::size_t index) const;
  int64_t Number(std::size_t index) const;
  // Everything between the first double quote after the command's keyword and the last one on
  // the line (for XML, which holds double quotes of its own).
  std::string Raw() const;
  // Fails unless the line has exactly `count` arguments (or between min and max).
  void Expect(std::size_t min, std::size_t max) const;

 private:
  std::string text_;
  std::vector<Token> tokens_;
};

}  // namespace windlock::scenario
