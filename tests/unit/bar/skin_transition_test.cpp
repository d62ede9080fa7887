#include "bar/skin_transition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "../sim_checks.h"
#include "../sim_harness.h"
#include "bar/bar_form.h"
#include "settings/settings_paths.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

const std::string kProgramFolder = sim::SimFileSystem::kProgramFolder;
const std::string kOptionsKey = std::string(settings_path::kRoot) + "\\Options";
// 5.25 and 9 twips per millisecond: every position below is exact in single precision.
constexpr float kWidth = 5250;
constexpr float kHeight = 9000;
constexpr float kParked = -20000;
constexpr int32_t kOriginal = 10;
constexpr int32_t kMeadow = 11;
constexpr int32_t kNight = 12;
constexpr const char* kPageText = "<html><body>skin</body></html>";

std::string SkinFile(const std::string& skin, const std::string& extension) {
  return kProgramFolder + "\\Skins\\" + skin + "\\" + skin + extension;
}

// A bar of the scenarios' size with skin folders installed (each with its .htm page) and
// `in_use` as the chosen look, stored too.
class SkinRig {
 public:
  explicit SkinRig(const std::string& in_use = "Original",
                   const Texts& skins = {"Meadow", "Night"}) {
    h.machine.files.AddFolder(kProgramFolder + "\\Skins");
    for (const std::string& skin : skins) {
      h.machine.files.AddFile(SkinFile(skin, ".htm"), kPageText);
    }
    h.settings() = unit::QuietSettings();
    h.settings().DefaultSkin = in_use;
    SaveSettings(h.settings(), h.machine.registry);
    h.bar.Resize(kWidth, kHeight);
    h.skin().TakeNavigationCount();
    start_ = h.machine.scheduler.TimeGetTime();
  }

  void Apply(int32_t number) {
    start_ = h.machine.scheduler.TimeGetTime();
    h.bar.ApplySkin(number);
  }
  // Lets time pass up to `ms` after the last Apply.
  void AdvanceTo(uint32_t ms) {
    h.machine.scheduler.Advance(start_ + ms - h.machine.scheduler.TimeGetTime());
  }
  Control& At(const char* name) { return *h.bar.FindControl(name); }
  Timer& Timer2() { return *h.bar.FindTimer("Timer2"); }
  std::string Stored() { return h.machine.registry.Describe(settings_path::kDefaultSkin); }
  std::string SkinPageShown() { return h.skin().last_navigation()->url.ToText(); }

  // Both frames where the layout leaves them for `look`, the clip gone and the timer stopped.
  void ExpectAtRest(const std::string& look) {
    const bool original = look == "Original";
    EXPECT_EQ(At("framePopup").left, original ? 0 : kParked);
    EXPECT_EQ(At("framePopup").top, 0);
    EXPECT_EQ(At("frameImages").left, original ? kParked : 0);
    EXPECT_EQ(At("frameImages").top, 0);
    EXPECT_FALSE(At("Animation1").visible);
    EXPECT_EQ(Timer2().interval(), 0u);
  }

  BarHarness h;

 private:
  uint32_t start_ = 0;
};

struct Moment {
  uint32_t ms;  // after ApplySkin
  const char* what;
  float popup_left;
  float images_left;
  float images_top;
  int skin_navigations;  // since ApplySkin
  bool moving;           // else at rest, and the new look stored
};

// From the built-in look to Night with the timer firing every millisecond: the slide-out ends
// one tick after framePopup has only just left (left + width == 0 is not yet out of sight), the
// pause and the drop-in each start their own clock on their first tick.
const Moment kOriginalToNight[] = {
    {1, "the first tick only starts the clock", 0, kParked, 0, 0, true},
    {2, "one millisecond later", -5.25f, kParked, 0, 0, true},
    {1001, "left + width == 0: not yet out", -5250, kParked, 0, 0, true},
    {1002, "out: the new look waits above", -5255.25f, 0, -9000, 1, true},
    {3503, "2500 ms after the pause's first tick", -5255.25f, 0, -9000, 1, true},
    {3505, "the drop-in's first tick starts its clock", -5255.25f, 0, -9000, 1, true},
    {3506, "one millisecond of drop-in", -5255.25f, 0, -8991, 1, true},
    {4504, "one millisecond short", -5255.25f, 0, -9, 1, true},
    {4505, "in place: at rest and stored", kParked, 0, 0, 1, false},
};

TEST(SkinTransitionTest, OriginalToSkinFollowsItsTimeline) {
  SkinRig rig;
  const std::string clip = kProgramFolder + "\\LarkspanLoading.avi";
  rig.h.machine.files.AddFile(clip, "");
  rig.h.bar.Animation1().Open(clip);
  rig.Apply(kNight);
  EXPECT_EQ(rig.h.settings().DefaultSkin, "Night");
  EXPECT_GT(rig.Timer2().interval(), 0u);

  int navigations = 0;
  for (const Moment& m : kOriginalToNight) {
    SCOPED_TRACE(std::to_string(m.ms) + " ms: " + m.what);
    rig.AdvanceTo(m.ms);
    navigations += rig.h.skin().TakeNavigationCount();
    EXPECT_EQ(rig.At("framePopup").left, m.popup_left);
    EXPECT_EQ(rig.At("frameImages").left, m.images_left);
    EXPECT_EQ(rig.At("frameImages").top, m.images_top);
    EXPECT_EQ(navigations, m.skin_navigations);
    EXPECT_EQ(rig.At("Animation1").visible, m.moving);
    EXPECT_EQ(rig.Timer2().interval() > 0, m.moving);
    EXPECT_EQ(rig.Stored(), m.moving ? "sz \"Original\"" : "sz \"Night\"");
  }
  EXPECT_EQ(rig.SkinPageShown(), SkinFile("Night", ".htm"));
  rig.ExpectAtRest("Night");
  // Played once for the whole switch, not on every tick.
  EXPECT_EQ(rig.h.Trace({"animation play", "animation stop"}),
            (Texts{"animation play", "animation stop"}));
  EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
}

struct Switch {
  const char* name;
  const char* from;
  int32_t number;
  const char* to;
  const char* outgoing;
  const char* incoming;
  std::string page;
};

// From the built-in look to a skin, the timeline test above follows it.
TEST(SkinTransitionTest, EachSwitchMovesTheFramesOfItsLooks) {
  const Switch kSwitches[] = {
      {"skin to skin: one frame out and back", "Meadow", kNight, "Night", "frameImages",
       "frameImages", SkinFile("Night", ".htm")},
      {"skin to Original", "Night", kOriginal, "Original", "frameImages", "framePopup",
       "about:blank"},
  };
  for (const Switch& s : kSwitches) {
    SCOPED_TRACE(s.name);
    SkinRig rig(s.from);
    rig.Apply(s.number);

    rig.AdvanceTo(501);
    EXPECT_EQ(rig.At(s.outgoing).left, -2625);
    EXPECT_EQ(rig.h.skin().TakeNavigationCount(), 0);
    rig.AdvanceTo(1002);
    EXPECT_EQ(rig.At(s.incoming).left, 0);
    EXPECT_EQ(rig.At(s.incoming).top, -kHeight);
    ASSERT_EQ(rig.h.skin().TakeNavigationCount(), 1);
    EXPECT_EQ(rig.SkinPageShown(), s.page);
    rig.AdvanceTo(4505);
    rig.ExpectAtRest(s.to);
    EXPECT_EQ(rig.Stored(), "sz " + sim::Quote(s.to));
    EXPECT_EQ(rig.h.skin().TakeNavigationCount(), 0);
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
  }
}

TEST(SkinTransitionTest, NumbersThatChooseNoOtherLookOnlyLayTheBarOut) {
  struct Case {
    const char* name;
    const char* in_use;
    int32_t number;
  };
  const Case kCases[] = {
      {"below the skins", "Original", 9},
      {"negative", "Night", -1},
      {"Original while in use", "Original", kOriginal},
      {"the skin in use", "Night", kNight},
      {"one past the last folder", "Original", 13},
      {"the largest number", "Night", std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SkinRig rig(c.in_use);
    // Frames left out of place, so that the layout shows.
    rig.At("framePopup").left = 77;
    rig.At("frameImages").top = -55;
    const std::size_t writes = rig.h.Trace({"reg write"}).size();

    rig.Apply(c.number);

    rig.ExpectAtRest(c.in_use);
    EXPECT_EQ(rig.h.settings().DefaultSkin, c.in_use);
    rig.AdvanceTo(6000);
    EXPECT_EQ(rig.h.skin().TakeNavigationCount(), 0);
    EXPECT_TRUE(rig.h.Trace({"animation"}).empty());
    EXPECT_EQ(rig.h.Trace({"reg write"}).size(), writes);
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
  }
}

TEST(SkinTransitionTest, ARequestWhileASwitchRunsIsIgnored) {
  struct Case {
    const char* phase;
    uint32_t ms;
  };
  const Case kCases[] = {{"sliding out", 100}, {"pausing", 2000}, {"dropping in", 4000}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.phase);
    SkinRig rig;
    rig.Apply(kMeadow);
    rig.AdvanceTo(c.ms);
    const float popup_left = rig.At("framePopup").left;
    const float images_top = rig.At("frameImages").top;

    rig.h.bar.ApplySkin(kNight);
    rig.h.bar.ApplySkin(kOriginal);

    EXPECT_EQ(rig.h.settings().DefaultSkin, "Meadow");
    // Not even laid out: the frames stay where the transition had them.
    EXPECT_EQ(rig.At("framePopup").left, popup_left);
    EXPECT_EQ(rig.At("frameImages").top, images_top);
    rig.AdvanceTo(10000);
    rig.ExpectAtRest("Meadow");
    EXPECT_EQ(rig.Stored(), "sz \"Meadow\"");
    EXPECT_EQ(rig.SkinPageShown(), SkinFile("Meadow", ".htm"));
    EXPECT_EQ(rig.h.Trace({"animation play"}).size(), 1u);
  }
}

TEST(SkinTransitionTest, TheNewLookShowsTheFirstPageItsFolderHas) {
  struct Case {
    const char* name;
    bool htm;
    bool hta;
    std::string shown;
  };
  const Case kCases[] = {
      {"both pages", true, true, SkinFile("Solo", ".htm")},
      {"only an .hta page", false, true, SkinFile("Solo", ".hta")},
      {"no page", false, false, "about:blank"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SkinRig rig("Original", {});
    sim::SimFileSystem& files = rig.h.machine.files;
    files.AddFolder(kProgramFolder + "\\Skins\\Solo");
    if (c.htm) files.AddFile(SkinFile("Solo", ".htm"), kPageText);
    if (c.hta) files.AddFile(SkinFile("Solo", ".hta"), kPageText);

    rig.Apply(11);
    rig.AdvanceTo(6000);
    ASSERT_EQ(rig.h.skin().TakeNavigationCount(), 1);
    EXPECT_EQ(rig.SkinPageShown(), c.shown);

    // Showing the bar again asks for the .htm page, whatever the switch found.
    rig.h.bar.ShowSkin(true);
    ASSERT_EQ(rig.h.skin().TakeNavigationCount(), 1);
    EXPECT_EQ(rig.SkinPageShown(), SkinFile("Solo", ".htm"));
  }
}

// How often the transition timer really fires, and how the test lets time pass.
struct Cadence {
  const char* name;
  uint32_t interval;
  uint32_t step;
  bool done_by_4600;
};

// 496 ms after the first tick is a whole number of ticks for every interval here.
const Cadence kCadences[] = {
    {"every millisecond, advanced 1 ms at a time", 1, 1, true},
    {"every 16 ms, as a coarse system timer does", 16, 496, true},
    {"held back to once in 496 ms", 496, 496, false},
};

TEST(SkinTransitionTest, SpeedDependsOnElapsedTimeNotOnTicks) {
  for (const Cadence& c : kCadences) {
    SCOPED_TRACE(c.name);
    SkinRig rig;
    rig.Apply(kNight);
    rig.Timer2().SetInterval(c.interval);
    rig.AdvanceTo(c.interval);  // the first tick
    for (uint32_t passed = 0; passed < 496; passed += c.step) {
      rig.h.machine.scheduler.Advance(c.step);
    }

    EXPECT_EQ(rig.At("framePopup").left, -5.25f * 496);
    if (c.done_by_4600) {
      rig.AdvanceTo(4600);
      rig.ExpectAtRest("Night");
    }
  }
}

TEST(SkinTransitionTest, AFailedTickEndsTheSwitchAtRestAndIsReportedOnce) {
  SkinRig rig;
  rig.h.machine.registry.MakeReadOnly(kOptionsKey);
  rig.Apply(kNight);

  rig.AdvanceTo(4505);
  rig.ExpectAtRest("Night");
  rig.AdvanceTo(20000);

  unit::ExpectErrorBoxes(rig.h.machine,
                         {"There Was An Error Switching The Skin.\r\nError Number: "});
  EXPECT_EQ(rig.Stored(), "sz \"Original\"");
  EXPECT_EQ(rig.h.settings().DefaultSkin, "Night");
  // Not stuck: the next switch starts.
  rig.h.bar.ApplySkin(kOriginal);
  EXPECT_GT(rig.Timer2().interval(), 0u);
}

TEST(SkinTransitionTest, WithoutASkinsFolderASkinNumberFailsAndChangesOnlyTheLayout) {
  struct Case {
    const char* name;
    std::function<void(BarForm&)> call;
    Texts reports;
  };
  const Case kCases[] = {
      {"ApplySkin fails to its caller",
       [](BarForm& bar) { EXPECT_THROW(bar.ApplySkin(kMeadow), Error); },
       {}},
      {"the menu command reports it",
       [](BarForm& bar) { bar.HandleMenuCommand(kMeadow); },
       {"There Was An Error Handling The Context Menu Item.\r\nError Number: "}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SkinRig rig("Original", {});
    rig.h.machine.files.RemovePath(kProgramFolder + "\\Skins");
    rig.At("framePopup").left = 77;

    c.call(rig.h.bar);

    rig.ExpectAtRest("Original");
    EXPECT_EQ(rig.h.settings().DefaultSkin, "Original");
    unit::ExpectErrorBoxes(rig.h.machine, c.reports);
  }
}

}  // namespace
}  // namespace windlock
