#include "host/subclass_hook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "common/error.h"
#include "host/band.h"

namespace windlock {
namespace {

using unit::BandRig;
using unit::MessageText;
using unit::MessageTexts;

constexpr const char* kObjectPointer = "ObjectPointer";
constexpr const char* kOldWindowProc = "OldWindowProc";

// The window runs `procedure` again and keeps none of the hook's properties.
void ExpectUnhooked(sim::SimWindowSystem& windows, WindowHandle window, WindowProcedure procedure) {
  EXPECT_EQ(windows.GetWindowProcedure(window), procedure);
  EXPECT_EQ(windows.GetWindowProp(window, kObjectPointer), 0u);
  EXPECT_EQ(windows.GetWindowProp(window, kOldWindowProc), 0u);
}

// A band site that takes no focus reports.
class SiteWithoutInputObject : public sim::SimBandSite {
 public:
  using SimBandSite::SimBandSite;
  InputObjectSite* GetInputObjectSite() override { return nullptr; }
};

// A band site whose focus reports fail, so the band fails while handling a focus message.
class SiteFailingReports : public sim::SimBandSite {
 public:
  using SimBandSite::SimBandSite;
  void OnFocusChangeIS(bool) override { throw Error(5, "Invalid procedure call or argument"); }
};

TEST(HookTest, HookingOrUnhookingTwiceActsOnce) {
  BandRig rig;
  sim::SimWindowSystem& windows = rig.machine.windows;
  const WindowHandle window = windows.CreateHostWindow("page");
  // Another subclass came first: that is the procedure to come back to.
  const WindowHandle earlier = windows.CreateHostWindow("earlier subclass");
  windows.SetWindowProcedure(window, windows.OwnProcedure(earlier));

  HookWindow(windows, window, rig.band());
  HookWindow(windows, window, rig.band());

  EXPECT_EQ(windows.GetWindowProcedure(window), windows.HookProcedure());
  EXPECT_EQ(OldWindowProcedure(windows, window), windows.OwnProcedure(earlier));
  EXPECT_EQ(windows.GetWindowProp(window, kObjectPointer),
            reinterpret_cast<uintptr_t>(&rig.band()));
  windows.SendWindowMessage({window, kWmKeyDown, 'A', 0});
  EXPECT_EQ(windows.TakeReceived(earlier).size(), 1u);

  UnhookWindow(windows, window);

  ExpectUnhooked(windows, window, windows.OwnProcedure(earlier));

  // Unhooking a window no longer hooked changes nothing.
  windows.SetWindowProp(window, "Unrelated", 5);
  UnhookWindow(windows, window);
  EXPECT_EQ(windows.GetWindowProcedure(window), windows.OwnProcedure(earlier));
  EXPECT_EQ(windows.GetWindowProp(window, "Unrelated"), 5u);
  windows.SendWindowMessage({window, kWmChar, 'a', 1});
  EXPECT_EQ(windows.TakeReceived(earlier).size(), 1u);
}

TEST(HookTest, EveryMessageReachesTheOldProcedureUnchanged) {
  struct PassCase {
    const char* name;
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
  };
  const PassCase kCases[] = {
      {"focus gained", kWmSetFocus, 0x2000, 0},
      {"focus lost", kWmKillFocus, 0x2000, 0},
      {"key down", kWmKeyDown, 'A', 0x001E0001},
      {"key up", kWmKeyUp, 'A', static_cast<intptr_t>(0xC01E0001)},
      {"character", kWmChar, 'a', 1},
      {"private message, extreme parameters", 0x0400, UINTPTR_MAX, -1},
  };
  BandRig rig;
  ASSERT_EQ(rig.Site(), kSOk);
  sim::SimWindowSystem& windows = rig.machine.windows;
  const WindowHandle bar = rig.bar();
  windows.TakeReceived(bar);

  for (const PassCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const WindowMessage message{bar, c.message, c.wparam, c.lparam};
    windows.SendWindowMessage(message);
    EXPECT_EQ(MessageTexts(windows.TakeReceived(bar)), std::vector{MessageText(message)});
  }
}

TEST(HookTest, FocusIsPassedOnWithoutAReportWhenTheSiteTakesNone) {
  BandRig rig;
  SiteWithoutInputObject site(rig.machine.trace, rig.thread.window.hosting(),
                              rig.thread.site_window);
  ASSERT_EQ(rig.band().SetSite(&site), kSOk);
  const WindowHandle bar = rig.bar();
  rig.machine.windows.TakeReceived(bar);

  rig.thread.SendToBar(kWmSetFocus);

  EXPECT_EQ(MessageTexts(rig.machine.windows.TakeReceived(bar)),
            std::vector{MessageText({bar, kWmSetFocus, 0, 0})});
  EXPECT_TRUE(site.TakeFocusReports().empty());
}

TEST(HookTest, DestroyIsPassedOnAndThenTheWindowIsUnhooked) {
  BandRig rig;
  sim::SimWindowSystem& windows = rig.machine.windows;
  const WindowHandle window = windows.CreateHostWindow("page");
  HookWindow(windows, window, rig.band());

  // The window is gone once DestroyWindow returns, so look while the hook returns.
  bool seen = false;
  unit::HookSpy spy(windows, [&](const WindowMessage& message, intptr_t) {
    if (message.message != kWmDestroy) return;
    seen = true;
    EXPECT_EQ(MessageTexts(windows.TakeReceived(window)),
              std::vector{MessageText({window, kWmDestroy, 0, 0})});
    ExpectUnhooked(windows, window, windows.OwnProcedure(window));
  });

  windows.DestroyWindow(window);

  EXPECT_FALSE(windows.Exists(window));
  EXPECT_TRUE(seen);
}

TEST(HookTest, ABandThatFailsIsUnhookedSilently) {
  BandRig rig;
  sim::SimWindowSystem& windows = rig.machine.windows;
  SiteFailingReports site(rig.machine.trace, rig.thread.window.hosting(), rig.thread.site_window);
  ASSERT_EQ(rig.band().SetSite(&site), kSOk);
  const WindowHandle bar = rig.bar();

  EXPECT_EQ(windows.SendWindowMessage({bar, kWmSetFocus, 0, 0}), 0);

  ExpectUnhooked(windows, bar, windows.OwnProcedure(bar));
  EXPECT_TRUE(rig.machine.ui.message_boxes().empty());
  // The window goes on with its own procedure, and the band still closes.
  windows.TakeReceived(bar);
  unit::HookSpy spy(windows);
  windows.SendWindowMessage({bar, kWmKillFocus, 0, 0});
  EXPECT_TRUE(spy.seen().empty());
  EXPECT_EQ(windows.TakeReceived(bar).size(), 1u);
  EXPECT_EQ(rig.band().CloseDW(), kSOk);
  EXPECT_EQ(rig.thread.form(), nullptr);
}

// Someone subclassed the bar window after us: unhooking leaves their procedure in place, and
// ours, still called by theirs, passes every message on to the window's own without a band.
TEST(HookTest, ASubclassAfterOursKeepsItsPlaceAndTheChainBelow) {
  BandRig rig;
  ASSERT_EQ(rig.Site(), kSOk);
  sim::SimWindowSystem& windows = rig.machine.windows;
  const WindowHandle window = windows.CreateHostWindow("page");
  const WindowHandle later = windows.CreateHostWindow("later subclass");
  HookWindow(windows, window, rig.band());
  windows.SetWindowProcedure(window, windows.OwnProcedure(later));

  UnhookWindow(windows, window);

  EXPECT_EQ(windows.GetWindowProcedure(window), windows.OwnProcedure(later));
  for (uint32_t message : {kWmSetFocus, kWmKeyDown, kWmDestroy}) {
    HookWindowProc(windows, {window, message, 0, 0});
  }
  EXPECT_EQ(windows.TakeReceived(window).size(), 3u);
  // No band heard of it.
  EXPECT_TRUE(rig.thread.site.TakeFocusReports().empty());
  EXPECT_EQ(rig.band().HasFocusIO(), kSFalse);
  // Hooked again, ours is the one link of the chain that hears the band.
  HookWindow(windows, window, rig.band());
  EXPECT_EQ(OldWindowProcedure(windows, window), windows.OwnProcedure(window));
  EXPECT_EQ(windows.GetWindowProcedure(window), windows.OwnProcedure(later));
}

}  // namespace
}  // namespace windlock
