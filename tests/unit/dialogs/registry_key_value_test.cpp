#include "dialogs/registry_key_value.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "backends/sim/sim_machine.h"

namespace windlock {
namespace {

constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr const char* kKey = "SOFTWARE\\Vendor\\Tool";
constexpr const char* kStoredAt = "HKLM\\SOFTWARE\\Vendor\\Tool\\Value";

struct Case {
  const char* name;
  std::optional<RawRegistryValue> stored;  // at kStoredAt; none: nothing stored
  bool found;
  std::string value;  // what the caller's "left over" becomes
  const char* key = kKey;
  const char* value_name = "Value";
};

RawRegistryValue Sz(std::string bytes) {
  return {kRegSz, std::move(bytes)};
}

TEST(GetKeyValueTest, ReadsAsTheRegistryHandsItOver) {
  using namespace std::string_literals;
  const std::string bytes_1023(1023, 'a');
  const std::string bytes_1024(1024, 'a');
  const Case cases[] = {
      {"string with its NUL", Sz("C:\\Tools\\info.exe\0"s), true, "C:\\Tools\\info.exe"},
      {"string without a NUL", Sz("C:\\Tools\\info.exe"), true, "C:\\Tools\\info.exe"},
      {"only the last NUL goes", Sz("ab\0\0"s), true, "ab\0"s},
      {"string of one NUL", Sz("\0"s), true, ""},
      {"value name in other letter case", Sz("x\0"s), true, "x", kKey, "VALUE"},
      {"dword 261", RawRegistryValue{kRegDword, "\x05\x01\0\0"s}, true, "261"},
      {"dword 0", RawRegistryValue{kRegDword, "\0\0\0\0"s}, true, "0"},
      {"dword with its top bit set", RawRegistryValue{kRegDword, "\xFF\xFF\xFF\xFF"s}, true, "-1"},
      {"binary leaves the value", RawRegistryValue{kRegBinary, "\x01\x02"s}, true, "left over"},
      {"expandable string leaves the value", RawRegistryValue{kRegExpandSz, "%TEMP%\0"s}, true,
       "left over"},
      {"missing key", Sz("x\0"s), false, "", "SOFTWARE\\Vendor\\Other"},
      {"missing value", Sz("x\0"s), false, "", kKey, "Other"},
      {"nothing stored", std::nullopt, false, ""},
      {"no bytes at all", Sz(""), false, ""},
      {"1024 bytes with the NUL", Sz(bytes_1023 + '\0'), true, bytes_1023},
      {"1024 bytes without a NUL", Sz(bytes_1024), true, bytes_1024},
      {"1025 bytes", Sz(bytes_1024 + '\0'), false, ""},
      {"1025 bytes of another type", RawRegistryValue{kRegBinary, bytes_1024 + 'a'}, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimMachine machine;
    if (c.stored) machine.registry.PutRaw(kStoredAt, *c.stored);
    std::string value = "left over";

    bool found = GetKeyValue(machine.registry, "HKLM", c.key, c.value_name, value);

    EXPECT_EQ(found, c.found);
    EXPECT_EQ(value, c.value);
  }
}

TEST(GetKeyValueTest, ReadsWhatProgramsWrite) {
  sim::SimMachine machine;
  machine.registry.WriteString("HKCU\\Software\\Vendor\\Name", "Tool");
  machine.registry.WriteDword("HKCU\\Software\\Vendor\\Count", 4096);
  machine.registry.WriteString("HKCU\\Software\\Vendor\\", "default");
  struct Read {
    const char* value_name;
    const char* value;
  };
  for (const Read& read : {Read{"Name", "Tool"}, Read{"Count", "4096"}, Read{"", "default"}}) {
    SCOPED_TRACE(read.value_name);
    std::string value;
    EXPECT_TRUE(GetKeyValue(machine.registry, "HKCU", "Software\\Vendor", read.value_name, value));
    EXPECT_EQ(value, read.value);
  }
}

}  // namespace
}  // namespace windlock
