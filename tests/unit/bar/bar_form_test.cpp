#include "bar/bar_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "host/band.h"

namespace windlock {
namespace {

const std::string kProgramFolder = sim::SimFileSystem::kProgramFolder;
const std::string kClip = kProgramFolder + "\\LarkspanLoading.avi";
const std::string kNightPage = kProgramFolder + "\\Skins\\Night\\Night.htm";
const std::string kSafeShutdownPage = kProgramFolder + "\\safeshutdown.htm";

TEST(BarFormTest, StartUpPreparesFlagsControlsMirrorAndTimer) {
  sim::SimMachine machine;
  sim::SimWindow& window = machine.Window(1);
  ModuleData module;
  module.settings = unit::QuietSettings();
  BarForm form(window.platform(), module);
  // Start-up must clear them itself rather than count on fresh values.
  form.flags().OpenNextWindow = true;
  form.flags().CapturePending = true;
  form.flags().SafeShutdownRequested = true;
  form.flags().SafeShutdownStage2 = true;

  form.Load();

  EXPECT_TRUE(form.loaded());
  EXPECT_FALSE(form.flags().OpenNextWindow);
  EXPECT_FALSE(form.flags().CapturePending);
  EXPECT_FALSE(form.flags().SafeShutdownRequested);
  EXPECT_FALSE(form.flags().SafeShutdownStage2);
  sim::SimControlFactory& controls = window.controls();
  EXPECT_EQ(controls.preview()->download_control(), 0x40000790);
  ASSERT_NE(controls.customizer(), nullptr);
  EXPECT_EQ(controls.customizer()->ExternalFor(*controls.skin()),
            static_cast<ScriptExternal*>(&form.bridge()));
  EXPECT_EQ(controls.customizer()->ExternalFor(controls.preview()->browser()), nullptr);
  EXPECT_EQ(sim::CanonicalText(form.xml_mirror()), "<URLS/>");
  ASSERT_NE(form.FindTimer("Timer1"), nullptr);
  EXPECT_TRUE(form.FindTimer("Timer1")->running());
  EXPECT_TRUE(machine.ui.message_boxes().empty());
}

struct ActivationCase {
  const char* name;
  bool auto_start;
  bool visible;
  const char* skin;
  bool clip_present;
  std::optional<bool> browser_bar;  // what the hosting browser was asked; none: nothing
  std::optional<std::string> skin_page;
};

const ActivationCase kActivationCases[] = {
    {"hidden last time is hidden again", true, false, "Original", true, false, std::nullopt},
    {"visible last time stays", true, true, "Original", true, std::nullopt, std::nullopt},
    {"without auto start nothing is hidden", false, false, "Original", true, std::nullopt,
     std::nullopt},
    {"a skin's page is loaded", false, true, "Night", true, std::nullopt, kNightPage},
    {"a missing clip stops nothing", true, false, "Night", false, false, kNightPage},
};

TEST(BarFormTest, FirstActivation) {
  for (const ActivationCase& c : kActivationCases) {
    SCOPED_TRACE(c.name);
    BarHarness h;
    h.settings().AutoStart = c.auto_start;
    h.settings().Visible = c.visible;
    h.settings().DefaultSkin = c.skin;
    if (c.clip_present) h.machine.files.AddFile(kClip, "RIFF");
    sim::SimBrowser& skin = *h.window.controls().skin();
    skin.TakeNavigationCount();

    h.bar.Activate();

    EXPECT_EQ(h.window.hosting().browser_bar(), c.browser_bar);
    const std::string opened = "animation open \"" + kClip + "\"";
    EXPECT_EQ(h.Trace({"animation open"}),
              std::vector{c.clip_present ? opened : opened + " failed"});
    ASSERT_EQ(skin.TakeNavigationCount(), c.skin_page ? 1 : 0);
    if (c.skin_page) {
      EXPECT_EQ(skin.last_navigation()->url.ToText(), *c.skin_page);
    }
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

TEST(BarFormTest, TeardownReleasesEverythingAndSendsABoundBrowserToSafety) {
  struct TeardownCase {
    const char* name;
    bool bound;
  };
  const TeardownCase kCases[] = {{"bound to its browser", true}, {"unbound", false}};
  for (const TeardownCase& c : kCases) {
    SCOPED_TRACE(c.name);
    BarHarness h;
    if (!c.bound) h.bar.SetCurrentIE(nullptr);
    const WindowHandle window = h.bar.hWnd();
    sim::SimBrowser& hosting = h.window.hosting();
    hosting.TakeNavigationCount();

    h.bar.Unload();

    EXPECT_FALSE(h.bar.loaded());
    EXPECT_EQ(h.bar.xml_mirror(), nullptr);
    EXPECT_EQ(h.window.controls().customizer(), nullptr);
    EXPECT_FALSE(h.machine.windows.Exists(window));
    EXPECT_FALSE(h.bar.FindTimer("Timer1")->running());
    ASSERT_EQ(hosting.TakeNavigationCount(), c.bound ? 1 : 0);
    if (c.bound) {
      EXPECT_EQ(hosting.last_navigation()->url.ToText(), kSafeShutdownPage);
    }
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

// Unloading as such is the teardown test's; here, what the band is left with.
TEST(BarFormTest, UnloadedUnderASitedBandLeavesTheBandHarmless) {
  unit::BandRig rig;
  ASSERT_EQ(rig.Site(), kSOk);
  const WindowHandle bar = rig.bar();

  rig.thread.apartment.UnloadBarForm();

  EXPECT_FALSE(rig.machine.windows.Exists(bar));
  EXPECT_EQ(rig.thread.OpenPopup(), NewWindowDecision::kAllowed);
  // The band's calls find no form and do nothing.
  EXPECT_EQ(rig.band().ShowDW(true), kSOk);
  EXPECT_EQ(rig.band().InvokeCommand(0), kENotImpl);
  EXPECT_EQ(rig.band().CloseDW(), kSOk);
  rig.thread.ReleaseBand();
  EXPECT_EQ(rig.thread.form(), nullptr);
  EXPECT_TRUE(rig.machine.ui.message_boxes().empty());
}

}  // namespace
}  // namespace windlock
