#include "input_lines.h"

#include <charconv>

namespace windlock::fuzz {

void ForEachLine(const uint8_t* data, std::size_t size,
                 const std::function<void(std::string_view line)>& step) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    step(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

Fields FieldsOf(std::string_view line) {
  Fields fields;
  if (line.size() <= 1) return fields;
  line.remove_prefix(1);
  for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
  return fields;
}

int64_t Number(std::string_view text) {
  int64_t number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

int64_t NumberAt(const Fields& fields, std::size_t index) {
  return index < fields.size() ? Number(fields[index]) : 0;
}

std::string TextAt(const Fields& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace windlock::fuzz
