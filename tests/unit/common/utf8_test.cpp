#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string_view>

namespace windlock {
namespace {

// A wrong count shifts every measured width of the alert and the bar's labels.
TEST(CharCountTest, CountsCodePointsAndEachStrayByteOnce) {
  const struct {
    std::string_view text;
    std::size_t count;
  } cases[] = {
      {"", 0},
      {"abc", 3},
      {"\xC3\xA7\x61", 2},       // ç: two bytes, one character
      {"\xE2\x80\x94", 1},       // em dash: three bytes
      {"\xF0\x9F\x98\x80!", 2},  // emoji: four bytes
      {"\x80\x80", 2},           // continuation bytes without a lead
      {"\xC3", 1},               // lead byte cut off at the end
      {"\xE2\x80\x61", 3},       // sequence broken by a plain character
      {"\xFF\x61", 2},           // a byte that never starts a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharCount(c.text), c.count) << testing::PrintToString(std::string(c.text));
  }
}

}  // namespace
}  // namespace windlock
