#include "bar/band_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/sim/sim_machine.h"

namespace windlock {
namespace {

class BandMenuTest : public ::testing::Test {
 protected:
  BandMenuTest() {
    for (const char* skin : {"Blue", "Green", "Red"}) {
      machine_.files.AddFolder(std::string(sim::SimFileSystem::kProgramFolder) + "\\Skins\\" +
                               skin);
    }
  }

  struct Built {
    HResult result;
    std::vector<std::string> items;
    std::vector<uint32_t> skin_ids;
  };

  Built Build(uint32_t first, uint32_t last) {
    sim::SimMenus& menus = machine_.menus;
    MenuHandle menu = menus.CreatePopupMenu();
    Built built{BuildBandMenu(module_, window_.platform(), menu, 0, first, last), {}, {}};
    for (const sim::SimMenus::Item& item : *menus.Items(menu)) {
      built.items.push_back(item.caption);
      if (!(item.flags & kMfPopup)) continue;
      for (const sim::SimMenus::Item& skin : *menus.Items(item.item)) {
        built.skin_ids.push_back(static_cast<uint32_t>(skin.item));
      }
    }
    return built;
  }

  sim::SimMachine machine_;
  sim::SimWindow& window_ = machine_.Window(1);
  ModuleData module_;
};

TEST_F(BandMenuTest, IdentifiersStayWithinTheRangeTheBrowserGives) {
  struct Case {
    const char* name;
    uint32_t last;
    std::vector<uint32_t> skin_ids;
    HResult result;
  };
  const Case cases[] = {
      {"room for every skin", 1000, {110, 111, 112, 113}, 14},
      {"room for two of three", 112, {110, 111, 112}, 13},
      {"room for Original alone", 110, {110}, 11},
      {"the last skin exactly", 113, {110, 111, 112, 113}, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Built built = Build(100, c.last);
    EXPECT_EQ(built.skin_ids, c.skin_ids);
    EXPECT_EQ(built.result, c.result);
  }
}

}  // namespace
}  // namespace windlock
