#include "bar/bar_buttons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"

namespace windlock {
namespace {

using sim::NewWindowDecision;
using unit::BarHarness;

const std::string kA = "http://a.example/";

// A loaded bar whose buttons the tests press.
class BarButtonsTest : public ::testing::Test {
 protected:
  void Click(const std::string& control) {
    Control* target = h.bar.FindControl(control);
    ASSERT_NE(target, nullptr) << control;
    target->Click();
  }
  const std::vector<sim::ShownMessageBox>& boxes() { return h.machine.ui.message_boxes(); }

  BarHarness h;
};

TEST_F(BarButtonsTest, OpeningWithoutABrowserShowsTheErrorAndKeepsTheEntries) {
  for (int index : {0, 1}) {
    SCOPED_TRACE(index);
    BarHarness fresh;
    fresh.settings() = unit::QuietSettings();
    ASSERT_EQ(fresh.OpenPopup(NavigateRequest::To(kA)), NewWindowDecision::kCaptured);
    fresh.SelectItems({0});
    fresh.bar.SetCurrentIE(nullptr);

    fresh.bar.FindControl("Command1(" + std::to_string(index) + ")")->Click();

    ASSERT_EQ(fresh.machine.ui.message_boxes().size(), 1u);
    const sim::ShownMessageBox& box = fresh.machine.ui.message_boxes()[0];
    EXPECT_TRUE(box.text.starts_with(
        "There Was An Error Executing The Action From The Button Click.\r\nError Number: 91\r\n"))
        << box.text;
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(fresh.bar.captured().CapturedCount(), 1u);
  }
}

TEST_F(BarButtonsTest, SafeShutdownThatCannotStartLeavesNoStageSet) {
  h.bar.flags().SafeShutdownStage2 = true;
  h.bar.flags().SafeShutdownStage3 = true;
  h.bar.SetCurrentIE(nullptr);

  Click("cmdSafeShutdown");

  EXPECT_FALSE(h.bar.flags().SafeShutdownRequested);
  EXPECT_FALSE(h.bar.flags().SafeShutdownStage2);
  EXPECT_FALSE(h.bar.flags().SafeShutdownStage3);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_TRUE(boxes()[0].text.starts_with("There Was An Error Starting The Safe Shutdown.\r\n"))
      << boxes()[0].text;
}

TEST_F(BarButtonsTest, UncheckingThePreviewGivesTheListItsRoom) {
  h.bar.Resize(4000, 7000);
  const float list_height = h.bar.URLList().height;

  Click("Check1");

  EXPECT_FALSE(h.bar.FindControl("Check1")->checked());
  EXPECT_FALSE(h.bar.PreviewShown);
  EXPECT_EQ(h.bar.URLList().height, list_height + 2115);

  Click("Check1");

  EXPECT_TRUE(h.bar.PreviewShown);
  EXPECT_EQ(h.bar.URLList().height, list_height);
}

}  // namespace
}  // namespace windlock
