#include "skins/skin_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "../sim_checks.h"
#include "../sim_harness.h"
#include "bar/bar_form.h"
#include "platform/ui.h"

namespace windlock {
namespace {

const std::string kProgramFolder = sim::SimFileSystem::kProgramFolder;
const Variant kTrue = -1;
const Variant kFalse = 0;
std::string DataFile(const std::string& skin) {
  return kProgramFolder + "\\Skins\\" + skin + "\\" + skin + ".xml";
}

// The skin's script, calling the bar with documents it made.
class SkinDataRig {
 public:
  explicit SkinDataRig(const std::string& skin = "Night") {
    h.settings() = unit::QuietSettings();
    h.settings().DefaultSkin = skin;
    for (const char* name : {"Meadow", "Night", "Original"}) {
      h.machine.files.AddFolder(kProgramFolder + "\\Skins\\" + name);
    }
    h.bar.Resize(5250, 9000);
  }

  std::shared_ptr<sim::SimXmlDocument> Document(const std::string& xml = "") {
    return unit::ParsedXml(h.machine.files, xml);
  }
  // LoadXMLDATA or SaveXMLDATA, given the document.
  Variant Call(const char* method, const std::shared_ptr<sim::SimXmlDocument>& document) {
    std::vector<Variant> args = {std::shared_ptr<XmlDocument>(document)};
    return h.bar.bridge().Invoke(method, args);
  }

  BarHarness h;
};

TEST(SkinDataTest, AFileThatDoesNotParseLoadsNothingSilently) {
  for (const char* held : {"", "<HAS a=\"1\"/>"}) {
    SCOPED_TRACE(std::string("target holds '") + held + "'");
    SkinDataRig rig;
    rig.h.machine.files.AddFile(DataFile("Night"), "<DATA><ITEM></DATA>");
    auto target = rig.Document(held);
    const std::string before = target->Canonical();

    EXPECT_EQ(rig.Call("LoadXMLDATA", target), kFalse);

    EXPECT_EQ(target->Canonical(), before);
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
  }
}

TEST(SkinDataTest, OnceASwitchStartsTheNewSkinsFileIsUsed) {
  struct Case {
    const char* from;
    int32_t number;
    const char* to;
  };
  const Case kCases[] = {
      {"Original", 12, "Night"}, {"Meadow", 12, "Night"}, {"Night", 11, "Meadow"}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.from) + " to " + c.to);
    SkinDataRig rig(c.from);
    if (std::string(c.from) != "Original") {
      rig.h.machine.files.AddFile(DataFile(c.from), "<OLD/>");
    }
    rig.h.bar.ApplySkin(c.number);
    ASSERT_GT(rig.h.bar.FindTimer("Timer2")->interval(), 0u) << "the switch has not started";

    auto empty = rig.Document();
    EXPECT_EQ(rig.Call("LoadXMLDATA", empty), kFalse);
    EXPECT_EQ(rig.Call("SaveXMLDATA", rig.Document("<NEW/>")), kTrue);
    auto loaded = rig.Document();
    EXPECT_EQ(rig.Call("LoadXMLDATA", loaded), kTrue);

    EXPECT_EQ(empty->Canonical(), "");
    EXPECT_EQ(loaded->Canonical(), "<NEW/>");
    if (std::string(c.from) != "Original") {
      EXPECT_EQ(rig.h.machine.files.ReadFile(DataFile(c.from)), "<OLD/>");
    }
  }
}

}  // namespace
}  // namespace windlock
