#include "bar/bar_buttons.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../sim_harness.h"

namespace windlock {
namespace {

using sim::NewWindowDecision;
using unit::BarHarness;
using Texts = std::vector<std::string>;

const std::string kProgramFolder = sim::SimFileSystem::kProgramFolder;
const std::string kA = "http://a.example/";
const std::string kB = "http://b.example/";
const std::string kC = "http://c.example/";
const std::string kD = "http://d.example/";
const std::string kQueued = "http://queued.example/";
constexpr const char* kAlert = "frmSplashCapture";

// A bar with captured entries; the alert is on, so that a window the buttons open without the
// one-shot pass would bring up a form nobody planned for.
class BarButtonsTest : public ::testing::Test {
 protected:
  void CaptureAll(const Texts& urls) {
    for (const std::string& url : urls) {
      h.Plan(unit::PressKey(kAlert));
      ASSERT_EQ(h.OpenPopup(NavigateRequest::To(url)), NewWindowDecision::kCaptured);
    }
  }
  void Click(const std::string& control) {
    Control* target = h.bar.FindControl(control);
    ASSERT_NE(target, nullptr) << control;
    target->Click();
  }
  Texts EntryUrls() const {
    Texts urls;
    for (const CapturedEntry& entry : h.bar.captured().entries()) {
      urls.push_back(entry.URL.ToText());
    }
    return urls;
  }
  sim::SimBrowser& hosting() { return h.window.hosting(); }
  const std::vector<sim::ShownMessageBox>& boxes() { return h.machine.ui.message_boxes(); }

  BarHarness h;
};

TEST_F(BarButtonsTest, WithNothingToActOnOnlyStopAndHelpRemain) {
  struct Case {
    const char* name;
    Texts captured;
  };
  const Case cases[] = {{"empty list", {}}, {"nothing selected", {kA, kB}}};
  for (const Case& c : cases) {
    for (int index = 0; index < 4; ++index) {
      SCOPED_TRACE(std::string(c.name) + ", Command1(" + std::to_string(index) + ")");
      BarHarness fresh;
      fresh.settings() = unit::QuietSettings();
      for (const std::string& url : c.captured) {
        ASSERT_EQ(fresh.OpenPopup(NavigateRequest::To(url)), NewWindowDecision::kCaptured);
      }
      fresh.preview().Navigate2(NavigateRequest::To(kQueued));
      fresh.window.hosting().TakeNavigationCount();

      fresh.bar.FindControl("Command1(" + std::to_string(index) + ")")->Click();
      fresh.machine.navigations.DeliverAll();

      EXPECT_NE(fresh.preview().LocationURL(), kQueued) << "the preview was not stopped";
      if (index == 3) {
        ASSERT_TRUE(fresh.machine.help.last_call());
        EXPECT_EQ(fresh.machine.help.last_call()->target, kProgramFolder + "\\windlock.chm");
        EXPECT_EQ(fresh.machine.help.last_call()->command, kHhDisplayTopic);
        EXPECT_EQ(fresh.machine.help.last_call()->data, 0u);
      } else {
        EXPECT_FALSE(fresh.machine.help.last_call());
      }
      EXPECT_EQ(fresh.window.hosting().TakeNavigationCount(), 0);
      EXPECT_EQ(fresh.window.hosting().windows_opened(), 0);
      EXPECT_EQ(fresh.bar.captured().CapturedCount(), c.captured.size());
      EXPECT_TRUE(fresh.machine.ui.message_boxes().empty());
    }
  }
}

TEST_F(BarButtonsTest, OpenInThisWindowSendsTheRequestAgainAndRemovesTheSelection) {
  h.settings().ShowVisualCapture = false;
  const Variant::Bytes post = {'k', '=', 0x00, 0xFE};
  ASSERT_EQ(h.OpenPopup(NavigateRequest::To(kA)), NewWindowDecision::kCaptured);
  ASSERT_EQ(h.OpenPopup({kB, 0x2, "_new", post, "X-B: 1\r\n"}), NewWindowDecision::kCaptured);
  ASSERT_EQ(h.OpenPopup(NavigateRequest::To(kC)), NewWindowDecision::kCaptured);
  h.SelectItems({1, 2});
  hosting().TakeNavigationCount();

  Click("Command1(0)");

  ASSERT_EQ(hosting().TakeNavigationCount(), 1);
  const NavigateRequest& sent = *hosting().last_navigation();
  EXPECT_TRUE(sent.url == Variant(kB));
  EXPECT_TRUE(sent.flags.empty());
  EXPECT_TRUE(sent.target_frame_name.empty());
  EXPECT_TRUE(sent.post_data == Variant(post));
  EXPECT_TRUE(sent.headers == Variant("X-B: 1\r\n"));
  EXPECT_EQ(EntryUrls(), Texts{kA});
  EXPECT_EQ(h.ListTexts(), Texts{kA});
  h.machine.navigations.DeliverAll();
  EXPECT_EQ(hosting().LocationURL(), kB);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(BarButtonsTest, OpenInNewWindowsLetsEachSelectedOneThrough) {
  CaptureAll({kA, kB, kC, kD});
  h.SelectItems({0, 2, 3});

  Click("Command1(1)");

  EXPECT_EQ(hosting().windows_opened(), 3);
  EXPECT_EQ(h.Trace({"decision allowed"}),
            (Texts{"decision allowed \"" + kA + "\" target \"_blank\"",
                   "decision allowed \"" + kC + "\" target \"_blank\"",
                   "decision allowed \"" + kD + "\" target \"_blank\""}));
  EXPECT_FALSE(h.bar.flags().OpenNextWindow);
  EXPECT_EQ(EntryUrls(), Texts{kB});
  EXPECT_EQ(h.ListTexts(), Texts{kB});
  EXPECT_TRUE(h.all_steps_taken());
  EXPECT_TRUE(boxes().empty());

  // The pass was for those windows only.
  h.Plan(unit::PressKey(kAlert));
  EXPECT_EQ(h.OpenPopup(), NewWindowDecision::kCaptured);
}

TEST_F(BarButtonsTest, RemoveTakesOnlyTheSelection) {
  CaptureAll({kA, kB, kC});
  h.SelectItems({0, 2});
  hosting().TakeNavigationCount();

  Click("Command1(2)");

  EXPECT_EQ(EntryUrls(), Texts{kB});
  EXPECT_EQ(h.ListTexts(), Texts{kB});
  EXPECT_EQ(hosting().TakeNavigationCount(), 0);
  EXPECT_EQ(hosting().windows_opened(), 0);
}

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

// Records the bar's flags each time a browser's page completes, after the bar has handled it.
class FlagsAtCompletion : public BrowserEvents {
 public:
  FlagsAtCompletion(std::string name, Browser& browser, const BarFlags& flags, Texts& log)
      : name_(std::move(name)), browser_(browser), flags_(flags), log_(log) {
    browser_.Advise(this);
  }
  ~FlagsAtCompletion() override { browser_.Unadvise(this); }

  void DocumentComplete(const std::string& url) override {
    std::string line = name_ + " " + url + ":";
    if (flags_.SafeShutdownRequested) line += " requested";
    if (flags_.SafeShutdownStage2) line += " stage2";
    if (flags_.SafeShutdownStage3) line += " stage3";
    log_.push_back(line);
  }

 private:
  std::string name_;
  Browser& browser_;
  const BarFlags& flags_;
  Texts& log_;
};

TEST_F(BarButtonsTest, SafeShutdownBlanksBothPanesThenClosesTheWindow) {
  const std::string page = kProgramFolder + "\\safeshutdown.htm";
  Texts log;
  FlagsAtCompletion host_spy("host", hosting(), h.bar.flags(), log);
  FlagsAtCompletion preview_spy("preview", h.preview(), h.bar.flags(), log);
  FlagsAtCompletion skin_spy("skin", h.skin(), h.bar.flags(), log);
  hosting().TakeNavigationCount();

  Click("cmdSafeShutdown");

  EXPECT_TRUE(h.bar.flags().SafeShutdownRequested);
  ASSERT_EQ(hosting().TakeNavigationCount(), 1);
  EXPECT_EQ(hosting().last_navigation()->url.ToText(), page);

  // Until it is over every pop-up is blocked, with the alert even on a trusted site.
  h.settings().Sites.Assign({std::string("trust:") + unit::kOpenerSite});
  h.Plan(unit::PressKey(kAlert));
  EXPECT_EQ(hosting().OpenWindow(NavigateRequest::To(unit::kPopupUrl), std::nullopt),
            NewWindowDecision::kBlocked);
  EXPECT_TRUE(h.all_steps_taken());
  EXPECT_FALSE(hosting().quit());

  h.machine.navigations.DeliverAll();

  EXPECT_EQ(log, (Texts{"host " + page + ": requested stage2",
                        "preview about:blank: requested stage2 stage3", "skin about:blank:"}));
  EXPECT_TRUE(hosting().quit());
  EXPECT_FALSE(h.bar.flags().SafeShutdownRequested);
  EXPECT_TRUE(boxes().empty());
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

TEST_F(BarButtonsTest, DoubleClickOpensTheSelectionInNewWindows) {
  h.bar.URLList_DblClick();
  EXPECT_EQ(hosting().windows_opened(), 0);
  EXPECT_TRUE(boxes().empty());

  CaptureAll({kA, kB, kC});
  h.SelectItems({1, 2});

  h.bar.URLList_DblClick();

  EXPECT_EQ(hosting().windows_opened(), 2);
  EXPECT_EQ(EntryUrls(), Texts{kA});
  EXPECT_TRUE(h.all_steps_taken());
}

TEST_F(BarButtonsTest, PressOnTheListTellsTheMenuWhereItLanded) {
  std::string& context = h.apartment.module().MenuContext;
  h.bar.URLList_MouseDown(true);
  EXPECT_EQ(context, "Node");
  h.bar.URLList_MouseDown(false);
  EXPECT_EQ(context, "List");
}

}  // namespace
}  // namespace windlock
