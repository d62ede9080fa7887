#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "bar/bar_form.h"

namespace windlock {
namespace {

// Where the layout puts each control. The three command buttons stand 345 twips apart.
struct LayoutCase {
  const char* name;
  float width;
  float height;
  bool preview;
  const char* skin;
  float popup_left;
  float images_left;
  float frame1_width;
  float frame2_width;
  float check_left;
  float list_height;
  float frame1_top;
  float command_top;
  float help_left;
  float help_top;
  const char* move_to;  // what the preview page is told; none: no page to move
};

const LayoutCase kLayoutCases[] = {
    {"half a twip rounds down to even, preview open, original look", 4000.5, 6000, true, "Original",
     0, -20000, 4000, 3880, 3695, 1770, 1960, 4500, 3025.5, 5625, "moveTo(0,0,3880,2055)"},
    {"same size, preview closed, a skin", 4000.5, 6000, false, "Night", -20000, 0, 4000, 3880, 3695,
     3885, 4075, 4500, 3025.5, 5625, "moveTo(0,0,3880,2055)"},
    {"half a twip rounds up to even, preview open, a skin", 3001.5, 7000.5, true, "Night", -20000,
     0, 3002, 2882, 2697, 2770, 2960, 5500, 2026.5, 6625.5, "moveTo(0,0,2882,2055)"},
    {"same size, preview closed, original look", 3001.5, 7000.5, false, "Original", 0, -20000, 3002,
     2882, 2697, 4885, 5075, 5500, 2026.5, 6625.5, "moveTo(0,0,2882,2055)"},
    {"a tiny bar keeps an empty list", 1000, 2000, true, "Original", 0, -20000, 1000, 880, 695, 0,
     190, 500, 25, 1625, "moveTo(0,0,880,2055)"},
    {"without a preview page nothing is moved", 4000, 6000, true, "Original", 0, -20000, 4000, 3880,
     3695, 1770, 1960, 4500, 3025, 5625, nullptr},
};

Control& At(BarHarness& h, const std::string& name) {
  Control* control = h.bar.FindControl(name);
  if (!control) throw std::logic_error("no control " + name);
  return *control;
}

// Puts a page in the preview browser, so that the layout has a document to move.
void ShowPreviewPage(BarHarness& h) {
  h.preview().Arrive(NavigateRequest::To("http://pop.example/"), std::nullopt);
  h.preview().TakePageCalls();
}

// Every control's place and size.
std::vector<std::array<float, 4>> Geometry(const BarHarness& h) {
  std::vector<std::array<float, 4>> placed;
  for (const auto& c : h.bar.Form::controls())
    placed.push_back({c->left, c->top, c->width, c->height});
  return placed;
}

TEST(BarLayoutTest, PlacesEverythingForTheFormSize) {
  for (const LayoutCase& c : kLayoutCases) {
    SCOPED_TRACE(c.name);
    BarHarness h;
    h.settings().DefaultSkin = c.skin;
    h.bar.PreviewShown = c.preview;
    if (c.move_to) ShowPreviewPage(h);

    h.bar.Resize(c.width, c.height);

    EXPECT_EQ(At(h, "framePopup").left, c.popup_left);
    EXPECT_EQ(At(h, "frameImages").left, c.images_left);
    EXPECT_EQ(At(h, "Frame1").width, c.frame1_width);
    EXPECT_EQ(At(h, "Frame2").width, c.frame2_width);
    EXPECT_EQ(At(h, "Check1").left, c.check_left);
    EXPECT_EQ(At(h, "URLList").height, c.list_height);
    EXPECT_EQ(At(h, "Frame1").top, c.frame1_top);
    for (int index = 0; index < 3; ++index) {
      EXPECT_EQ(At(h, "Command1(" + std::to_string(index) + ")").top, c.command_top + 345 * index)
          << index;
    }
    EXPECT_EQ(At(h, "Command1(3)").left, c.help_left);
    EXPECT_EQ(At(h, "Command1(3)").top, c.help_top);
    EXPECT_EQ(At(h, "cmdSafeShutdown").top, c.help_top);
    EXPECT_EQ(h.preview().TakePageCalls(), c.move_to ? Texts{c.move_to} : Texts{});
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

TEST(BarLayoutTest, NothingMovesWhileATransitionRuns) {
  BarHarness h;
  ShowPreviewPage(h);
  h.bar.Resize(4000, 6000);
  h.preview().TakePageCalls();
  const auto before = Geometry(h);
  h.bar.FindTimer("Timer2")->SetInterval(1);

  h.bar.Resize(5000, 9000);
  h.bar.FindControl("Check1")->Click();

  EXPECT_EQ(Geometry(h), before);
  EXPECT_TRUE(h.preview().TakePageCalls().empty());

  h.bar.FindTimer("Timer2")->SetInterval(0);
  h.bar.Resize(5000, 9000);
  EXPECT_EQ(At(h, "Frame1").width, 5000);
  EXPECT_EQ(At(h, "URLList").height, 6885) << "the unchecked preview counts";
}

}  // namespace
}  // namespace windlock
