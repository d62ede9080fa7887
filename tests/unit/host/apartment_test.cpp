#include "host/apartment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"
#include "host/band.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

using sim::NewWindowDecision;
using unit::BandThread;

TEST(TwoThreadsTest, EachWindowHasABarOfItsOwn) {
  sim::SimMachine machine;
  unit::StoreSettings(machine, unit::QuietSettings());
  BandThread one(machine, 1);
  BandThread two(machine, 2);
  one.CreateBand();
  two.CreateBand();
  ASSERT_EQ(one.band().SetSite(&one.site), kSOk);
  ASSERT_EQ(two.band().SetSite(&two.site), kSOk);

  ASSERT_NE(one.form(), two.form());
  EXPECT_NE(one.form()->hWnd(), two.form()->hWnd());
  EXPECT_EQ(one.apartment.bar_form_load_count(), 1u);
  EXPECT_EQ(two.apartment.bar_form_load_count(), 1u);

  // Settings in memory are the thread's own: window 1 lets windows through while its bar is
  // hidden, window 2 still captures them.
  one.settings().CaptureWhenClosed = false;
  EXPECT_TRUE(two.settings().CaptureWhenClosed);
  EXPECT_EQ(one.OpenPopup(), NewWindowDecision::kAllowed);
  EXPECT_EQ(two.OpenPopup(), NewWindowDecision::kCaptured);
  EXPECT_EQ(one.form()->captured().CapturedCount(), 0u);
  EXPECT_EQ(two.form()->captured().CapturedCount(), 1u);

  // Closing one bar leaves the other hooked and bound.
  ASSERT_EQ(one.band().CloseDW(), kSOk);
  EXPECT_EQ(one.form(), nullptr);
  ASSERT_NE(two.form(), nullptr);
  two.SendToBar(kWmSetFocus);
  EXPECT_EQ(two.site.TakeFocusReports(), std::vector<bool>{true});
  EXPECT_EQ(two.band().HasFocusIO(), kSOk);
  EXPECT_EQ(two.OpenPopup(), NewWindowDecision::kCaptured);
  EXPECT_TRUE(machine.ui.message_boxes().empty());
}

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
