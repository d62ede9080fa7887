#include "host/band.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../sim_harness.h"
#include "host/subclass_hook.h"

namespace windlock {
namespace {

using unit::BandRig;

constexpr uint32_t kWsBorder = 0x00800000;
constexpr uint32_t kBarStyle = kWsChild | kWsClipSiblings;

WindowHandle WindowOf(Band& band) {
  WindowHandle window = 0xDEAD;
  EXPECT_EQ(band.GetWindow(window), kSOk);
  return window;
}

TEST(BandTest, SitingLoadsHooksBindsAndParentsTheBarAndUnsitingKeepsItForTheNextSite) {
  BandRig rig;
  sim::SimWindowSystem& windows = rig.machine.windows;
  ASSERT_EQ(rig.Site(), kSOk);

  BarForm* form = rig.thread.form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->loaded());
  EXPECT_NE(form->xml_mirror(), nullptr);
  EXPECT_EQ(rig.thread.apartment.bar_form_load_count(), 1u);
  EXPECT_EQ(form->band(), &rig.band());
  EXPECT_EQ(form->CurrentIE(), &rig.thread.window.hosting());
  const WindowHandle bar = form->hWnd();
  EXPECT_EQ(WindowOf(rig.band()), bar);
  EXPECT_EQ(windows.GetWindowProcedure(bar), windows.HookProcedure());
  EXPECT_EQ(OldWindowProcedure(windows, bar), windows.OwnProcedure(bar));
  EXPECT_EQ(windows.Parent(bar), rig.thread.site_window);
  EXPECT_EQ(windows.GetStyle(bar) & kBarStyle, kBarStyle);
  EXPECT_EQ(rig.thread.OpenPopup(), NewWindowDecision::kCaptured);
  rig.thread.SendToBar(kWmSetFocus);
  EXPECT_EQ(rig.thread.site.TakeFocusReports(), std::vector<bool>{true});
  BandSite* held = nullptr;
  EXPECT_EQ(rig.band().GetSite(held), kSOk);
  EXPECT_EQ(held, &rig.thread.site);

  // Unsited, the band keeps its form, unbound, for the next site.
  EXPECT_EQ(rig.band().SetSite(nullptr), kSOk);
  EXPECT_EQ(rig.thread.form(), form);
  EXPECT_TRUE(form->loaded());
  EXPECT_EQ(form->CurrentIE(), nullptr);
  EXPECT_EQ(windows.Parent(bar), rig.thread.site_window);
  EXPECT_EQ(rig.thread.OpenPopup(), NewWindowDecision::kAllowed);
  EXPECT_EQ(rig.band().GetSite(held), kEFail);
  EXPECT_EQ(held, nullptr);
  rig.thread.SendToBar(kWmSetFocus);
  EXPECT_TRUE(rig.thread.site.TakeFocusReports().empty());

  // Sited again, by a site with a window of its own; the style bits are added to what is there.
  sim::SimBandSite other(rig.machine.trace, rig.thread.window.hosting(),
                         windows.CreateHostWindow("other site"));
  windows.SetStyle(bar, kWsBorder);
  EXPECT_EQ(rig.band().SetSite(&other), kSOk);

  EXPECT_EQ(rig.thread.apartment.bar_form_load_count(), 1u);
  EXPECT_EQ(rig.thread.form(), form);
  EXPECT_EQ(form->CurrentIE(), &rig.thread.window.hosting());
  EXPECT_EQ(OldWindowProcedure(windows, bar), windows.OwnProcedure(bar));
  EXPECT_EQ(windows.Parent(bar), other.GetWindow());
  EXPECT_EQ(windows.GetStyle(bar), kWsBorder | kBarStyle);
  EXPECT_EQ(rig.thread.OpenPopup(), NewWindowDecision::kCaptured);
  rig.thread.SendToBar(kWmSetFocus);
  EXPECT_EQ(other.TakeFocusReports(), std::vector<bool>{true});
  EXPECT_TRUE(rig.thread.site.TakeFocusReports().empty());
}

TEST(BandTest, UnimplementedCallsChangeNothing) {
  struct InertCall {
    const char* name;
    std::function<HResult(Band&)> call;
  };
  const InertCall kCalls[] = {
      {"ContextSensitiveHelp enter", [](Band& band) { return band.ContextSensitiveHelp(true); }},
      {"ContextSensitiveHelp leave", [](Band& band) { return band.ContextSensitiveHelp(false); }},
      {"ResizeBorderDW", [](Band& band) { return band.ResizeBorderDW(); }},
      {"GetCommandString", [](Band& band) { return band.GetCommandString(); }},
  };
  BandRig rig;
  ASSERT_EQ(rig.Site(), kSOk);
  ASSERT_EQ(rig.band().ShowDW(true), kSOk);
  const WindowHandle bar = rig.bar();
  const uint32_t style = rig.machine.windows.GetStyle(bar);
  rig.TakeTrace();

  for (const InertCall& c : kCalls) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(rig.band()), kENotImpl);
    EXPECT_EQ(rig.TakeTrace(), std::vector<std::string>{});
    EXPECT_TRUE(rig.machine.windows.IsWindowVisible(bar));
    EXPECT_EQ(rig.machine.windows.GetStyle(bar), style);
    EXPECT_EQ(rig.thread.form()->CurrentIE(), &rig.thread.window.hosting());
  }
}

TEST(BandTest, CloseDWUnloadsTheFormWithoutSendingTheBrowserAnywhere) {
  BandRig rig;
  ASSERT_EQ(rig.Site(), kSOk);
  ASSERT_EQ(rig.band().ShowDW(true), kSOk);
  const WindowHandle bar = rig.bar();
  sim::SimBrowser& hosting = rig.thread.window.hosting();
  hosting.TakeNavigationCount();
  unit::HookSpy spy(rig.machine.windows);

  EXPECT_EQ(rig.band().CloseDW(), kSOk);

  EXPECT_EQ(rig.thread.form(), nullptr);
  EXPECT_FALSE(rig.machine.windows.Exists(bar));
  // Unhooked before the window went: its WM_DESTROY never reached the band.
  EXPECT_TRUE(spy.seen().empty());
  EXPECT_EQ(hosting.TakeNavigationCount(), 0);
  EXPECT_EQ(WindowOf(rig.band()), 0u);
  EXPECT_EQ(rig.thread.OpenPopup(), NewWindowDecision::kAllowed);

  rig.TakeTrace();
  EXPECT_EQ(rig.band().CloseDW(), kSOk);
  EXPECT_EQ(rig.TakeTrace(), std::vector<std::string>{});
}

// The members in the order of their mask bits, each as "name=value".
std::vector<std::string> Members(const BandInfo& info) {
  auto point = [](const BandPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
  return {"min=" + point(info.min_size),
          "max=" + point(info.max_size),
          "integral=" + point(info.integral),
          "actual=" + point(info.actual),
          "title=" + info.title,
          "modeflags=" + std::to_string(info.mode_flags),
          "bkcolor=" + std::to_string(info.background)};
}

TEST(BandInfoTest, FillsOnlyTheMembersAskedFor) {
  // Every member starts at 7 or "?", so an untouched one shows. The background colour is the
  // browser's: asked for, it is left as it is.
  const std::vector<std::string> untouched = {
      "min=7,7", "max=7,7", "integral=7,7", "actual=7,7", "title=?", "modeflags=7", "bkcolor=7"};
  const std::vector<std::string> filled = {"min=350,160", "max=-1,-1",      "integral=1,1",
                                           "actual=0,0",  "title=Larkspan", "modeflags=8",
                                           "bkcolor=7"};
  BandRig rig;
  for (uint32_t mask : {0x00u, 0x01u, 0x02u, 0x04u, 0x08u, 0x10u, 0x20u, 0x40u, 0x7Fu}) {
    SCOPED_TRACE(mask);
    BandInfo info{mask, {7, 7}, {7, 7}, {7, 7}, {7, 7}, "?", 7, 7};
    EXPECT_EQ(rig.band().GetBandInfo(info), kSOk);
    std::vector<std::string> expected = untouched;
    for (std::size_t bit = 0; bit < expected.size(); ++bit) {
      if (mask & (1u << bit)) expected[bit] = filled[bit];
    }
    EXPECT_EQ(Members(info), expected);
    EXPECT_EQ(info.mask, mask);
  }
}

struct KeyCase {
  const char* name;
  uint32_t message;
  uintptr_t key;
  std::optional<std::pair<uint32_t, uintptr_t>> sent;  // message and wparam sent on
};

const KeyCase kKeyCases[] = {
    {"Backspace down becomes a character", kWmKeyDown, 0x08, std::pair{kWmChar, 0x08u}},
    {"End down is sent on", kWmKeyDown, 0x23, std::pair{kWmKeyDown, 0x23u}},
    {"Backspace up", kWmKeyUp, 0x08, std::nullopt},
    {"End up", kWmKeyUp, 0x23, std::nullopt},
    {"Home down, next to End", kWmKeyDown, 0x24, std::nullopt},
    {"Tab down, next to Backspace", kWmKeyDown, 0x09, std::nullopt},
    {"letter down", kWmKeyDown, 'A', std::nullopt},
    {"Backspace already a character", kWmChar, 0x08, std::nullopt},
};

TEST(BandTest, TranslateAcceleratorIOPassesOnBackspaceAndEndOnly) {
  constexpr intptr_t kKeyData = 0x000E0001;
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(c.name);
    BandRig rig;
    const WindowHandle target = rig.machine.windows.CreateHostWindow("edit box");

    EXPECT_EQ(rig.band().TranslateAcceleratorIO({target, c.message, c.key, kKeyData}), kSOk);

    std::vector<std::string> expected;
    if (c.sent)
      expected.push_back(unit::MessageText({target, c.sent->first, c.sent->second, kKeyData}));
    EXPECT_EQ(unit::MessageTexts(rig.machine.windows.TakeReceived(target)), expected);
  }
}

// The band keeps the focus while it is in the bar's own controls, whose windows it does not
// watch; it learns that the focus left from the next key, which is then not the band's, or gives
// it up itself.
TEST(BandTest, TheFocusStaysTheBandsInsideTheBarAndLeavesByAKeyElsewhereOrBeingGivenUp) {
  constexpr intptr_t kKeyData = 0x000E0001;
  enum class Way { kKillFocusToControl, kKeyInControl, kKeyElsewhere, kGivenUp, kClickInControl };
  const struct {
    const char* name;
    Way way;
    std::vector<bool> reports;
    HResult key_result;
  } cases[] = {
      {"focus on to a control of the bar", Way::kKillFocusToControl, {}, kSOk},
      {"a key in a control of the bar", Way::kKeyInControl, {}, kSOk},
      {"a key in a window outside the bar", Way::kKeyElsewhere, {false}, kSFalse},
      {"Tab past the bar's last control", Way::kGivenUp, {false}, kSOk},
      {"a click on a control of a bar without the focus",
       Way::kClickInControl,
       {false, true},
       kSOk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BandRig rig;
    sim::SimWindowSystem& windows = rig.machine.windows;
    ASSERT_EQ(rig.Site(), kSOk);
    const WindowHandle control = windows.CreateHostWindow("list");
    windows.SetParent(control, rig.bar());
    const WindowHandle page = windows.CreateHostWindow("page");
    rig.thread.SendToBar(kWmSetFocus);
    rig.thread.site.TakeFocusReports();

    HResult key_result = kSOk;
    switch (c.way) {
      case Way::kKillFocusToControl:
        windows.SendWindowMessage({rig.bar(), kWmKillFocus, control, 0});
        break;
      case Way::kKeyInControl:
      case Way::kKeyElsewhere:
        key_result = rig.band().TranslateAcceleratorIO(
            {c.way == Way::kKeyInControl ? control : page, kWmKeyDown, 'A', kKeyData});
        break;
      case Way::kGivenUp:
        rig.band().GiveUpFocus();
        break;
      case Way::kClickInControl:
        windows.SendWindowMessage({rig.bar(), kWmKillFocus, page, 0});
        windows.SendWindowMessage({rig.bar(), kWmParentNotify, kWmLButtonDown, 0});
        break;
    }
    EXPECT_EQ(key_result, c.key_result);
    EXPECT_EQ(rig.thread.site.TakeFocusReports(), c.reports);
    EXPECT_EQ(rig.band().HasFocusIO(), c.reports.empty() || c.reports.back() ? kSOk : kSFalse);
  }
}

// A start-up that fails once the bar's window exists (its browsers cannot be made on a thread
// without COM) is the browser's failure to see, and leaves no window of the bar behind.
TEST(BandTest, AStartThatFailsLeavesNoWindowOfTheBar) {
  BandRig rig;
  rig.machine.Window(1).controls().SetFailing(true);
  EXPECT_EQ(rig.Site(), static_cast<HResult>(0x800401F0));
  EXPECT_EQ(rig.thread.form(), nullptr);
  EXPECT_EQ(rig.machine.windows.CountNamed("frmBand"), 0u);

  rig.machine.Window(1).controls().SetFailing(false);
  EXPECT_EQ(rig.Site(), kSOk) << "the next site starts the bar";
  EXPECT_EQ(rig.machine.windows.CountNamed("frmBand"), 1u);
}

}  // namespace
}  // namespace windlock
