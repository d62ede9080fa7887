#include "dialogs/registry_key_value.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/sim_machine.h"

namespace windlock {
namespace {

constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr const char* kKey = "SOFTWARE\\Vendor\\Tool";
constexpr const char* kStoredAt = "HKLM\\SOFTWARE\\Vendor\\Tool\\Value";

struct Case {
  const char* name;
  std::optional<RawRegistryValue> stored;  // at kStoredAt; none: nothing stored
  const char* key;
  const char* value_name;
  bool found;
  std::string value;  // what the caller's "left over" becomes
};

std::string Bytes(std::size_t count, char fill) {
  return std::string(count, fill);
}

TEST(GetKeyValueTest, ReadsAsTheRegistryHandsItOver) {
  using namespace std::string_literals;
  const Case cases[] = {
      {"string with its NUL", RawRegistryValue{kRegSz, "C:\\Tools\\info.exe\0"s}, kKey, "Value",
       true, "C:\\Tools\\info.exe"},
      {"string without a NUL", RawRegistryValue{kRegSz, "C:\\Tools\\info.exe"}, kKey, "Value", true,
       "C:\\Tools\\info.exe"},
      {"only the last NUL goes", RawRegistryValue{kRegSz, "ab\0\0"s}, kKey, "Value", true, "ab\0"s},
      {"string of one NUL", RawRegistryValue{kRegSz, "\0"s}, kKey, "Value", true, ""},
      {"value name in other letter case", RawRegistryValue{kRegSz, "x\0"s}, kKey, "VALUE", true,
       "x"},
      {"dword 261", RawRegistryValue{kRegDword, "\x05\x01\0\0"s}, kKey, "Value", true, "261"},
      {"dword 0", RawRegistryValue{kRegDword, "\0\0\0\0"s}, kKey, "Value", true, "0"},
      {"dword with its top bit set", RawRegistryValue{kRegDword, "\xFF\xFF\xFF\xFF"s}, kKey,
       "Value", true, "-1"},
      {"binary leaves the value", RawRegistryValue{kRegBinary, "\x01\x02"s}, kKey, "Value", true,
       "left over"},
      {"expandable string leaves the value", RawRegistryValue{kRegExpandSz, "%TEMP%\0"s}, kKey,
       "Value", true, "left over"},
      {"missing key", RawRegistryValue{kRegSz, "x\0"s}, "SOFTWARE\\Vendor\\Other", "Value", false,
       ""},
      {"missing value", RawRegistryValue{kRegSz, "x\0"s}, kKey, "Other", false, ""},
      {"nothing stored", std::nullopt, kKey, "Value", false, ""},
      {"no bytes at all", RawRegistryValue{kRegSz, ""}, kKey, "Value", false, ""},
      {"1024 bytes with the NUL", RawRegistryValue{kRegSz, Bytes(1023, 'a') + '\0'}, kKey, "Value",
       true, Bytes(1023, 'a')},
      {"1024 bytes without a NUL", RawRegistryValue{kRegSz, Bytes(1024, 'a')}, kKey, "Value", true,
       Bytes(1024, 'a')},
      {"1025 bytes", RawRegistryValue{kRegSz, Bytes(1024, 'a') + '\0'}, kKey, "Value", false, ""},
      {"1025 bytes of another type", RawRegistryValue{kRegBinary, Bytes(1025, 'a')}, kKey, "Value",
       false, ""},
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
