#include "capture/captured_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../sim_harness.h"

namespace windlock {
namespace {

const std::string kA = "http://a.example/";
const std::string kB = "http://b.example/page?x=1&y=2";
const std::string kC = "http://c.example/";

// A skin page with the placeholder and both notifications.
constexpr const char* kPlaceholderPage =
    "<html><body><div id=\"InsertCaptureList\"></div><script>"
    "function OnPreview(url) {} function OnUpdateList() {}</script></body></html>";

// A bar whose captures bring up nothing modal.
class QuietBar : public BarHarness {
 public:
  QuietBar() { settings() = unit::QuietSettings(); }

  void Capture(const NavigateRequest& request,
               const std::optional<std::string>& title = std::nullopt) {
    ASSERT_EQ(OpenPopup(request, title), NewWindowDecision::kCaptured);
  }
  void Capture(const std::string& url) { Capture(NavigateRequest::To(url)); }
  void CaptureThree() {
    for (const std::string& url : {kA, kB, kC}) Capture(url);
  }
  CapturedList& list() { return bar.captured(); }
  Texts EntryUrls() const {
    Texts urls;
    for (const CapturedEntry& entry : bar.captured().entries()) urls.push_back(entry.URL.ToText());
    return urls;
  }
};

void ExpectSameRequest(const NavigateRequest& actual, const NavigateRequest& expected) {
  EXPECT_TRUE(actual.url == expected.url) << actual.url.ToText();
  EXPECT_TRUE(actual.flags == expected.flags) << actual.flags.ToText();
  EXPECT_TRUE(actual.target_frame_name == expected.target_frame_name);
  EXPECT_TRUE(actual.post_data == expected.post_data);
  EXPECT_TRUE(actual.headers == expected.headers);
}

TEST(CapturedListTest, CaptureKeepsTheRequestAsDelivered) {
  const Variant::Bytes post = {'a', '=', 0x00, 0xFF, 0x80, 0xC3, '\r', '\n', 'z'};
  const std::string long_url = "http://long.example/?q=" + std::string(64 * 1024, 'q');
  struct Case {
    const char* name;
    NavigateRequest request;
  };
  const Case cases[] = {
      {"every option set, post data with NUL and stray bytes",
       {kA, 0x2, "_new", post, "Content-Type: application/x-www-form-urlencoded\r\nX-A: 1\r\n"}},
      {"a 64 KiB address and 64 KiB of NULs", {long_url, 0, "", Variant::Bytes(65536, 0), ""}},
      {"options omitted", NavigateRequest::To(kB)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuietBar h;

    h.Capture(c.request);

    ASSERT_EQ(h.list().CapturedCount(), 1u);
    const CapturedEntry& entry = h.list().entries()[0];
    ExpectSameRequest(
        {entry.URL, entry.Flags, entry.TargetFrameName, entry.PostData, entry.Headers},
        sim::AsBrowserReportsIt(c.request));
    EXPECT_EQ(entry.URLName, c.request.url.ToText());
    EXPECT_EQ(h.list().CurrentEntry(), 0u);
  }
}

TEST(CapturedListTest, KeyNumbersAreNeverReused) {
  QuietBar h;
  h.Capture(kA);
  h.Capture(kB);
  h.SelectItems({0});
  h.list().RemoveSelectedEntries();
  h.Capture(kC);
  h.SelectItems({0, 1});
  h.list().RemoveSelectedEntries();

  h.Capture(kA);

  EXPECT_EQ(h.list().entries()[0].Key, "Key4");
}

// The differential test shows every view following the entries; here, what the page is told.
TEST(CapturedListTest, EachCaptureTellsTheSkinPageOfTheUpdateThenOfThePreview) {
  QuietBar h;
  h.ShowSkinPage(kPlaceholderPage);
  h.skin().TakePageCalls();

  h.Capture(kA);
  h.Capture(kB);

  EXPECT_EQ(h.skin().TakePageCalls(), (Texts{"OnUpdateList()", "OnPreview(" + kA + ")",
                                             "OnUpdateList()", "OnPreview(" + kB + ")"}));
  EXPECT_TRUE(h.machine.ui.message_boxes().empty());
}

// The page's script runs inside the call: an OnUpdateList that removes the new entry at once.
TEST(CapturedListTest, AnEntryTheSkinRemovesAtOnceIsStillPreviewed) {
  QuietBar h;
  h.ShowSkinPage(kPlaceholderPage);
  bool removed = false;
  h.skin().SetPageScript("OnUpdateList", [&] {
    if (removed || h.list().entries().empty()) return;
    removed = true;
    h.bar.URLList().SetSelected(h.bar.URLList().size() - 1, true);
    std::vector<Variant> none;
    h.bar.bridge().Invoke("ListItemRemove", none);
  });
  h.skin().TakePageCalls();

  h.Capture(kA);

  EXPECT_TRUE(removed);
  EXPECT_TRUE(h.list().entries().empty());
  EXPECT_EQ(h.skin().TakePageCalls().back(), "OnPreview(" + kA + ")");
}

TEST(CapturedListTest, TitleNamesTheEntryThePreviewShows) {
  using Step = std::function<void(QuietBar&)>;
  struct Case {
    const char* name;
    std::vector<Step> before;
    Texts expected;
  };
  auto remove = [](std::vector<std::size_t> items) -> Step {
    return [items](QuietBar& h) {
      h.SelectItems(items);
      h.list().RemoveSelectedEntries();
    };
  };
  auto preview = [](std::size_t item) -> Step {
    return [item](QuietBar& h) {
      h.SelectItems({item});
      h.list().PreviewSelectedEntry();
    };
  };
  const Step capture_c = [](QuietBar& h) { h.Capture(kC); };
  const Case cases[] = {
      {"the newest capture", {}, {kA, kB, "Renamed"}},
      {"an older entry previewed", {preview(0)}, {"Renamed", kB, kC}},
      {"its entry removed", {remove({2})}, {kA, kB}},
      {"its entry removed, then a capture", {remove({2}), capture_c}, {kA, kB, "Renamed"}},
      {"entries before it removed", {remove({0, 1})}, {"Renamed"}},
      {"previewed, then an entry before it removed", {preview(1), remove({0})}, {"Renamed", kC}},
      {"previewed, then an entry after it removed", {preview(0), remove({1})}, {"Renamed", kC}},
      {"every entry removed", {remove({0, 1, 2})}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuietBar h;
    h.ShowSkinPage(kPlaceholderPage);
    h.CaptureThree();
    for (const Step& step : c.before) step(h);

    h.preview().RaiseTitleChange("Renamed");

    // The differential test shows the views follow the entries' names.
    Texts names;
    for (const CapturedEntry& entry : h.list().entries()) names.push_back(entry.URLName);
    EXPECT_EQ(names, c.expected);
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

TEST(CapturedListTest, TitleOfACaptureNamesItInEveryView) {
  QuietBar h;
  h.ShowSkinPage(kPlaceholderPage);

  h.Capture(NavigateRequest::To(kA), "Ad & \"Offer\"");

  EXPECT_EQ(h.ListTexts(), Texts{"Ad & \"Offer\""});
  EXPECT_EQ(h.SkinOptions(), Texts{"Key1=Ad & \"Offer\""});
  EXPECT_EQ(h.Mirror(),
            "<URLS><URL URLName=\"Ad &amp; &quot;Offer&quot;\" URLLocation=\"http://a.example/\" "
            "selected=\"false\" visible=\"true\"/></URLS>");
  EXPECT_EQ(h.list().entries()[0].URL.ToText(), kA);
}

TEST(CapturedListTest, RemoveSelectedEntries) {
  struct Case {
    const char* name;
    std::vector<std::size_t> selected;
    Texts kept;
  };
  const Case cases[] = {
      {"the middle one", {1}, {kA, kC}},
      {"first and last", {0, 2}, {kB}},
      {"nothing selected", {}, {kA, kB, kC}},
      {"all", {0, 1, 2}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuietBar h;
    h.CaptureThree();
    h.SelectItems(c.selected);

    h.list().RemoveSelectedEntries();

    EXPECT_EQ(h.EntryUrls(), c.kept);
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

TEST(CapturedListTest, PreviewSelectedEntryWithoutASelectionDoesNothing) {
  QuietBar h;
  h.ShowSkinPage(kPlaceholderPage);
  h.list().PreviewSelectedEntry();
  EXPECT_EQ(h.preview().TakeNavigationCount(), 0);
  EXPECT_TRUE(h.skin().TakePageCalls().empty());

  h.Capture(kA);
  h.Capture(kB);
  h.preview().TakeNavigationCount();
  h.skin().TakePageCalls();
  h.list().PreviewSelectedEntry();

  EXPECT_EQ(h.preview().TakeNavigationCount(), 0);
  EXPECT_TRUE(h.skin().TakePageCalls().empty());
  EXPECT_EQ(h.list().CurrentEntry(), 1u);
}

TEST(CapturedListTest, PreviewSelectedEntrySendsOnlyTheAddress) {
  QuietBar h;
  h.ShowSkinPage(kPlaceholderPage);
  h.Capture({kA, 0x2, "_new", Variant::Bytes{'p', 0x00}, "X-A: 1\r\n"});
  h.Capture({kB, 0x4, "frame", Variant::Bytes{'q'}, "X-B: 2\r\n"});
  h.Capture(kC);
  h.SelectItems({1, 2});
  h.preview().TakeNavigationCount();
  h.skin().TakePageCalls();

  h.list().PreviewSelectedEntry();

  ASSERT_EQ(h.preview().TakeNavigationCount(), 1);
  ExpectSameRequest(*h.preview().last_navigation(), NavigateRequest::To(kB));
  EXPECT_EQ(h.skin().TakePageCalls(), Texts{"OnPreview(" + kB + ")"});
  EXPECT_EQ(h.list().CurrentEntry(), 1u);

  // Once it arrives the preview shows it, and it is no new capture.
  h.machine.navigations.DeliverAll();
  EXPECT_EQ(h.preview().LocationURL(), kB);
  EXPECT_EQ(h.EntryUrls(), (Texts{kA, kB, kC}));
}

}  // namespace
}  // namespace windlock
