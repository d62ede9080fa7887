#include "bar/preview_browser_handlers.h"

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

const std::string kCaptured = "http://pop.example/ad.html";
const std::string kLink = "http://pop.example/next.html";
const std::string kQueued = "http://queued.example/";

constexpr const char* kPlaceholderPage =
    "<html><body><div id=\"InsertCaptureList\"><b id=\"Old\">old</b></div><script>"
    "function OnPreview(url) {} function OnUpdateList() {}</script></body></html>";

class PreviewBrowserHandlersTest : public ::testing::Test {
 protected:
  PreviewBrowserHandlersTest() { h.settings() = unit::QuietSettings(); }

  void Capture(const std::string& url) {
    ASSERT_EQ(h.OpenPopup(NavigateRequest::To(url)), NewWindowDecision::kCaptured);
  }
  sim::SimDocument* PreviewPage() {
    return dynamic_cast<sim::SimDocument*>(h.preview().Document());
  }

  BarHarness h;
};

TEST_F(PreviewBrowserHandlersTest, NavigationWithoutACapturePendingIsNoCaptureAndGoesAhead) {
  struct Case {
    const char* name;
    bool captured_first;
  };
  for (const Case& c :
       {Case{"nothing captured yet", false}, Case{"a link in a captured page", true}}) {
    SCOPED_TRACE(c.name);
    BarHarness fresh;
    fresh.settings() = unit::QuietSettings();
    if (c.captured_first) {
      ASSERT_EQ(fresh.OpenPopup(NavigateRequest::To(kCaptured)), NewWindowDecision::kCaptured);
    }
    const std::size_t before = fresh.bar.captured().CapturedCount();

    fresh.preview().Arrive(NavigateRequest::To(kLink), "Next page");

    EXPECT_EQ(fresh.preview().LocationURL(), kLink);
    EXPECT_TRUE(fresh.Trace({"preview navigation cancelled"}).empty());
    EXPECT_EQ(fresh.bar.captured().CapturedCount(), before);
    EXPECT_TRUE(fresh.machine.ui.message_boxes().empty());
  }
}

TEST_F(PreviewBrowserHandlersTest, PageStaysInsideThePane) {
  Capture(kCaptured);

  EXPECT_TRUE(h.preview().RaiseNewWindow()) << "a new window from the preview";
  EXPECT_TRUE(h.preview().RaiseWindowClosing()) << "the preview page closing its window";
  EXPECT_EQ(h.bar.captured().CapturedCount(), 1u);
  EXPECT_EQ(h.window.hosting().windows_opened(), 0);
  EXPECT_TRUE(h.machine.ui.message_boxes().empty());
}

TEST_F(PreviewBrowserHandlersTest, CompletedPageStopsQueuedNavigationsAndIsNamed) {
  h.machine.navigations.Hold();
  Capture(kCaptured);
  h.preview().Navigate2(NavigateRequest::To(kQueued));

  h.machine.navigations.Release();
  h.machine.navigations.DeliverAll();

  EXPECT_EQ(h.preview().LocationURL(), kCaptured);
  sim::SimDocument* page = PreviewPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->window_name(), "LKWindlock");
  EXPECT_EQ(page->body_overflow(), "");
}

TEST_F(PreviewBrowserHandlersTest, LoadedSkinPageGetsTheBoxWithEveryEntry) {
  Capture("http://a.example/");
  Capture("http://b.example/");
  h.SelectItems({0, 1});

  h.ShowSkinPage(kPlaceholderPage);

  EXPECT_EQ(h.SkinOptions(), (Texts{"Key1=http://a.example/", "Key2=http://b.example/"}));
  HtmlDocument& page = *h.skin().Document();
  EXPECT_FALSE(page.HasElement("Old")) << "the placeholder's own content is replaced";
  EXPECT_TRUE(h.skin().TakePageCalls().empty());
  EXPECT_TRUE(h.machine.ui.message_boxes().empty());
}

TEST_F(PreviewBrowserHandlersTest, LoadedSkinPageWithoutAPlaceholderGetsNothing) {
  for (const char* text : {"<html><body>plain</body></html>", ""}) {
    SCOPED_TRACE(text);
    BarHarness fresh;
    fresh.settings() = unit::QuietSettings();
    ASSERT_EQ(fresh.OpenPopup(NavigateRequest::To(kCaptured)), NewWindowDecision::kCaptured);

    fresh.ShowSkinPage(text);

    EXPECT_EQ(fresh.SkinOptions(), std::nullopt);
    EXPECT_TRUE(fresh.machine.ui.message_boxes().empty());
  }
}

TEST_F(PreviewBrowserHandlersTest, EmptyListGivesAnEmptyBox) {
  h.ShowSkinPage(kPlaceholderPage);

  EXPECT_EQ(h.SkinOptions(), Texts{});
}

}  // namespace
}  // namespace windlock
