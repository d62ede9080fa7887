#include "capture/bypass_indicator.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "../sim_harness.h"

namespace windlock {
namespace {

TEST(BypassIndicatorTest, FollowsShiftWithinOneTick) {
  unit::BarHarness h;
  Control& label = *h.bar.FindControl("lblBypass");
  EXPECT_FALSE(label.visible);

  // Shift goes down at different moments between two ticks of the bar's timer.
  for (uint32_t wait : {0u, 50u, 100u, 150u}) {
    SCOPED_TRACE(wait);
    h.machine.scheduler.Advance(wait);
    h.machine.keyboard.SetShift(true);
    h.machine.scheduler.Advance(100);
    EXPECT_TRUE(label.visible);
    h.machine.scheduler.Advance(250);
    EXPECT_TRUE(label.visible);

    h.machine.keyboard.SetShift(false);
    h.machine.scheduler.Advance(100);
    EXPECT_FALSE(label.visible);
  }
}

}  // namespace
}  // namespace windlock
