#include "dialogs/sys_info.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace windlock {
namespace {

constexpr const char* kProgramPath = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\PATH";
constexpr const char* kFolderPath = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location\\MSINFO";
constexpr const char* kRecorded = "C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe";
constexpr const char* kFolder = "C:\\Shared\\MSInfo";
constexpr const char* kInFolder = "C:\\Shared\\MSInfo\\MSINFO32.EXE";

struct Case {
  const char* name;
  std::optional<std::string> recorded_program;  // the PATH value
  std::optional<std::string> recorded_folder;   // the MSINFO value
  std::vector<std::string> files;
  std::optional<std::string> started;  // none: the message instead
};

TEST(StartSysInfoTest, StartsFromTheFirstRecordThatWorks) {
  const Case cases[] = {
      {"the program path wins over the folder",
       kRecorded,
       kFolder,
       {kRecorded, kInFolder},
       kRecorded},
      {"the program path alone", kRecorded, std::nullopt, {kRecorded}, kRecorded},
      {"a program path that cannot start does not fall back",
       kRecorded,
       kFolder,
       {kInFolder},
       std::nullopt},
      {"an empty program path", "", kFolder, {kInFolder}, std::nullopt},
      {"only the folder, with the program in it", std::nullopt, kFolder, {kInFolder}, kInFolder},
      {"only the folder, without the program", std::nullopt, kFolder, {}, std::nullopt},
      {"the folder with a trailing backslash",
       std::nullopt,
       "C:\\Shared\\MSInfo\\",
       {kInFolder},
       std::nullopt},
      {"no record at all", std::nullopt, std::nullopt, {kRecorded, kInFolder}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimMachine machine;
    if (c.recorded_program) machine.registry.WriteString(kProgramPath, *c.recorded_program);
    if (c.recorded_folder) machine.registry.WriteString(kFolderPath, *c.recorded_folder);
    for (const std::string& file : c.files) machine.files.AddFile(file, "");

    StartSysInfo(machine.Window(1).platform());

    EXPECT_EQ(machine.programs.last_started(), c.started);
    const auto& boxes = machine.ui.message_boxes();
    if (c.started) {
      EXPECT_TRUE(boxes.empty());
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, "System Information Is Unavailable At This Time");
      EXPECT_EQ(boxes[0].title, std::nullopt);
      EXPECT_EQ(boxes[0].style, kMbOk);
    }
  }
}

// Counts the reads of each value, so a test can tell which records were consulted.
TEST(StartSysInfoTest, TheFolderIsNotConsultedWhenTheProgramPathIsFound) {
  sim::SimMachine machine;
  machine.registry.WriteString(kProgramPath, kRecorded);
  machine.files.AddFile(kRecorded, "");
  std::vector<std::string> reads;
  struct Spy : Registry {
    Registry& inner;
    std::vector<std::string>& reads;
    Spy(Registry& i, std::vector<std::string>& r) : inner(i), reads(r) {}
    RegistryValue Read(const std::string& p) override { return inner.Read(p); }
    std::optional<RawRegistryValue> ReadRaw(const std::string& p, uint32_t access) override {
      reads.push_back(p);
      return inner.ReadRaw(p, access);
    }
    void WriteString(const std::string& p, const std::string& v) override {
      inner.WriteString(p, v);
    }
    void WriteDword(const std::string& p, uint32_t v) override { inner.WriteDword(p, v); }
    void Delete(const std::string& p) override { inner.Delete(p); }
    std::vector<std::string> ValueNames(const std::string& k) override {
      return inner.ValueNames(k);
    }
  } spy(machine.registry, reads);
  Platform platform = machine.Window(1).platform();
  Platform spied{spy,
                 platform.files,
                 platform.ui,
                 platform.timers,
                 platform.clock,
                 platform.keyboard,
                 platform.text,
                 platform.controls,
                 platform.windows,
                 platform.xml,
                 platform.help,
                 platform.menus,
                 platform.programs};

  StartSysInfo(spied);

  EXPECT_EQ(reads, std::vector<std::string>{kProgramPath});
  EXPECT_EQ(machine.programs.last_started(), kRecorded);
}

}  // namespace
}  // namespace windlock
