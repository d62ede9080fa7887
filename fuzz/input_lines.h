#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace windlock::fuzz {

// Fuzz inputs are text, one step a line and its fields separated by tabs, so that a seed reads
// like what it does and a mutation of one line changes one step.
void ForEachLine(const uint8_t* data, std::size_t size,
                 const std::function<void(std::string_view line)>& step);
using Fields = std::vector<std::string_view>;

// The line's fields after its first character (the step's letter); none for a bare letter.
Fields FieldsOf(std::string_view line);
// Text as a decimal number; 0 when it is none.
int64_t Number(std::string_view text);
// The field at `index` as a decimal number (0 when it is missing or no number), and as text
// (empty when missing).
int64_t NumberAt(const Fields& fields, std::size_t index);
std::string TextAt(const Fields& fields, std::size_t index);

}  // namespace windlock::fuzz
