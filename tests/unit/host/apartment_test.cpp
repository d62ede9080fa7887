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

TEST(TwoThreadsTest, EachThreadKeepsItsSettingsAndTheLastSaveWins) {
  sim::SimMachine machine;
  SaveSettings(unit::QuietSettings(), machine.registry);
  BandThread one(machine, 1);
  BandThread two(machine, 2);
  one.CreateBand();
  two.CreateBand();
  one.settings().PromptToAdd = true;
  one.settings().PopupAlertMessage = "from window 1";
  two.settings().PopupAlertMessage = "from window 2";

  SaveSettings(one.settings(), one.window.platform().registry);
  SaveSettings(two.settings(), two.window.platform().registry);

  // Saving does not reach the other thread's memory.
  EXPECT_TRUE(one.settings().PromptToAdd);
  EXPECT_FALSE(two.settings().PromptToAdd);
  BandThread later(machine, 3);
  later.CreateBand();
  EXPECT_FALSE(later.settings().PromptToAdd);
  EXPECT_EQ(later.settings().PopupAlertMessage, "from window 2");
  EXPECT_TRUE(machine.ui.message_boxes().empty());
}

}  // namespace
}  // namespace windlock
