#include "host/apartment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"
#include "host/band.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

using unit::BandThread;

TEST(TwoThreadsTest, TheLastSaveWinsInTheSharedRegistry) {
  struct SaveOrder {
    const char* name;
    bool window_one_saves_last;
  };
  const SaveOrder kOrders[] = {{"window 2 saves last", false}, {"window 1 saves last", true}};
  for (const SaveOrder& c : kOrders) {
    SCOPED_TRACE(c.name);
    sim::SimMachine machine;
    unit::StoreSettings(machine, unit::QuietSettings());
    BandThread one(machine, 1);
    BandThread two(machine, 2);
    one.CreateBand();
    two.CreateBand();
    one.settings().PromptToAdd = true;
    one.settings().PopupAlertMessage = "from window 1";
    two.settings().PromptToAdd = false;
    two.settings().PopupAlertMessage = "from window 2";
    BandThread& first = c.window_one_saves_last ? two : one;
    BandThread& last = c.window_one_saves_last ? one : two;
    SaveSettings(first.settings(), first.window.platform().registry);
    SaveSettings(last.settings(), last.window.platform().registry);
    // Saving does not reach the other thread's memory.
    EXPECT_TRUE(one.settings().PromptToAdd);
    EXPECT_FALSE(two.settings().PromptToAdd);

    BandThread later(machine, 3);
    later.CreateBand();

    EXPECT_EQ(later.settings().PromptToAdd, c.window_one_saves_last);
    EXPECT_EQ(later.settings().PopupAlertMessage,
              c.window_one_saves_last ? "from window 1" : "from window 2");
    EXPECT_TRUE(machine.ui.message_boxes().empty());
  }
}

}  // namespace
}  // namespace windlock
