#include "bar/bar_buttons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_checks.h"
#include "../sim_harness.h"

namespace windlock {
namespace {

const std::string kA = "http://a.example/";

// A loaded bar whose buttons the tests press.
class BarButtonsTest : public ::testing::Test {
 protected:
  void Click(const std::string& control) {
    Control* target = h.bar.FindControl(control);
    ASSERT_NE(target, nullptr) << control;
    target->Click();
  }

  BarHarness h;
};

TEST_F(BarButtonsTest, OpeningWithoutABrowserShowsTheErrorAndKeepsTheEntries) {
  h.settings() = unit::QuietSettings();
  ASSERT_EQ(h.OpenPopup(NavigateRequest::To(kA)), NewWindowDecision::kCaptured);
  h.SelectItems({0});
  h.bar.SetCurrentIE(nullptr);

  Click("Command1(0)");
  Click("Command1(1)");

  const std::string report =
      "There Was An Error Executing The Action From The Button Click.\r\nError Number: 91\r\n";
  unit::ExpectErrorBoxes(h.machine, {report, report});
  EXPECT_EQ(h.bar.captured().CapturedCount(), 1u);
}

TEST_F(BarButtonsTest, SafeShutdownThatCannotStartLeavesNoStageSet) {
  h.bar.flags().SafeShutdownStage2 = true;
  h.bar.flags().SafeShutdownStage3 = true;
  h.bar.SetCurrentIE(nullptr);

  Click("cmdSafeShutdown");

  EXPECT_FALSE(h.bar.flags().SafeShutdownRequested);
  EXPECT_FALSE(h.bar.flags().SafeShutdownStage2);
  EXPECT_FALSE(h.bar.flags().SafeShutdownStage3);
  unit::ExpectErrorBoxes(h.machine, {"There Was An Error Starting The Safe Shutdown.\r\n"});
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
