#include "bar/script_bridge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "bar/bar_form.h"
#include "platform/ui.h"

namespace windlock {
namespace {

using Args = std::vector<Variant>;

const Texts kUrls = {"http://a.example/", "http://b.example/", "http://c.example/"};
constexpr const char* kSkinsUrl = "http://skins.example/more";
constexpr const char* kPageFunctions =
    "<script>function OnUpdateList() {} function OnCapture() {} function OnPreview(url) {}"
    "</script>";
constexpr int32_t kNoSuchMethod = 438;

std::string PageWith(const std::string& body) {
  return "<html><head>" + std::string(kPageFunctions) + "</head><body>" + body + "</body></html>";
}

// A bar with three captured pop-ups (Key1..Key3) and a skin page whose selection box lists them.
class BridgeRig {
 public:
  BridgeRig() {
    h.settings() = unit::QuietSettings();
    h.settings().BrowseSkinsURL = kSkinsUrl;
    for (const std::string& url : kUrls) {
      EXPECT_EQ(h.OpenPopup(NavigateRequest::To(url)), NewWindowDecision::kCaptured);
    }
    h.ShowSkinPage(PageWith("<div id='InsertCaptureList'></div>"));
    h.skin().TakePageCalls();
  }

  Variant Call(const std::string& method, Args args = {}) {
    return h.bar.bridge().Invoke(method, args);
  }
  std::vector<bool> Selected() const {
    std::vector<bool> selected;
    for (const ListView::Item& item : h.bar.URLList().items()) selected.push_back(item.selected);
    return selected;
  }
  // The list view's selection, also written into the mirror as the bar's own update does.
  void SelectAndUpdate(const std::vector<std::size_t>& positions) {
    h.SelectItems(positions);
    h.bar.captured().UpdateCapturedList(0);
    h.skin().TakePageCalls();
  }
  Timer& Timer3() { return *h.bar.FindTimer("Timer3"); }
  const std::vector<sim::ShownMessageBox>& boxes() { return h.machine.ui.message_boxes(); }

  BarHarness h;
};

class ScriptBridgeTest : public ::testing::Test, public BridgeRig {};

TEST_F(ScriptBridgeTest, NamesThatOnlyResembleAMethodAreUnknown) {
  for (const char* method : {"", "GetVersio", "GetVersionX", " GetVersion", "Get Version",
                             "ListItem", "ListItemSelected"}) {
    SCOPED_TRACE(std::string("'") + method + "'");
    EXPECT_EQ(unit::ErrorNumberOf([&] { Call(method, {0}); }), kNoSuchMethod);
  }
  EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false}));
}

TEST_F(ScriptBridgeTest, ABadPositionFailsAndChangesNothing) {
  struct Case {
    const char* name;
    Args args;
  };
  const Case kCases[] = {
      {"one past the last", {3}},
      {"negative", {-1}},
      {"the largest number", {std::numeric_limits<int32_t>::max()}},
      {"the largest number as text", {"2147483647"}},
      {"too large for any number", {"99999999999999999999"}},
      {"negative as text", {"-1"}},
      {"not a number", {"two"}},
      {"a number followed by text", {"1x"}},
      {"empty text", {""}},
      {"missing", {}},
  };
  SelectAndUpdate({1});
  const std::string mirror = h.Mirror();
  const std::optional<Texts> options = h.SkinOptions();
  for (const char* method : {"ListItemSelect", "ListItemUnSelect"}) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(std::string(method) + ", " + c.name);
      Args args = c.args;
      EXPECT_THROW(h.bar.bridge().Invoke(method, args), Error);
      EXPECT_EQ(Selected(), (std::vector<bool>{false, true, false}));
      EXPECT_EQ(h.Mirror(), mirror);
      EXPECT_EQ(h.SkinOptions(), options);
    }
  }
  EXPECT_TRUE(h.skin().TakePageCalls().empty());
  EXPECT_TRUE(boxes().empty());
}

TEST_F(ScriptBridgeTest, TheXmlListIsTheScriptsOwnCopy) {
  const std::string before = h.Mirror();
  Variant first = Call("getXMLList");
  Variant second = Call("getXMLList");
  ASSERT_TRUE(first.is_document());
  ASSERT_TRUE(second.is_document());
  ASSERT_NE(first.document(), second.document());
  EXPECT_EQ(sim::CanonicalText(first.document().get()), before);
  // Not the mirror itself: the XML document's clone test shows a copy changing on its own.
  EXPECT_NE(first.document().get(), h.bar.xml_mirror());
}

TEST_F(ScriptBridgeTest, GetVersionAnswersAndFillsItsThreeArguments) {
  EXPECT_EQ(Call("GetVersion"), Variant("1.0.0"));

  Args parts = {"major", "minor", "revision"};
  EXPECT_EQ(h.bar.bridge().Invoke("GetVersion", parts), Variant("1.0.0"));
  EXPECT_EQ(parts, (Args{1, 0, 0}));
}

TEST_F(ScriptBridgeTest, TwoRequestsWithinTheDelayMakeOneDeferredAction) {
  EXPECT_FALSE(Timer3().enabled());
  EXPECT_TRUE(Call("ShowOptions").empty());
  EXPECT_TRUE(Timer3().enabled());
  h.machine.scheduler.Advance(300);
  Call("ShowOptions");
  // The second request does not start the delay again; the dialog opens once.
  h.Plan(unit::Click("frmOptions", "cmdCancel"));
  h.machine.scheduler.Advance(200);
  EXPECT_FALSE(Timer3().enabled());
  EXPECT_TRUE(h.all_steps_taken());
  EXPECT_EQ(h.forms_shown(), std::vector<std::string>{"frmOptions"});
  EXPECT_TRUE(boxes().empty());
}

TEST_F(ScriptBridgeTest, TheLastRequestBeforeTheTickWinsHalfASecondLater) {
  sim::SimBrowser& hosting = h.window.hosting();
  hosting.TakeNavigationCount();
  Call("ShowOptions");
  h.bar.bridge().BrowseForSkins();
  h.machine.scheduler.Advance(499);
  EXPECT_EQ(hosting.TakeNavigationCount(), 0);
  h.machine.scheduler.Advance(1);
  ASSERT_EQ(hosting.TakeNavigationCount(), 1) << "options, then the skins page";
  EXPECT_EQ(hosting.last_navigation()->url.ToText(), kSkinsUrl);
  h.machine.scheduler.Advance(5000);
  EXPECT_EQ(hosting.TakeNavigationCount(), 0) << "opened once";

  h.bar.bridge().BrowseForSkins();
  Call("ShowOptions");
  h.Plan(unit::Click("frmOptions", "cmdCancel"));
  h.machine.scheduler.Advance(1000);
  EXPECT_EQ(hosting.TakeNavigationCount(), 0) << "the skins page, then options";
  EXPECT_TRUE(h.all_steps_taken());
}

// The differential test shows the list and the box agreeing; here, that the call has updated them.
TEST_F(ScriptBridgeTest, ListActionsBringTheSkinUpToDateBeforeReturning) {
  struct Case {
    const char* method;
    std::vector<std::size_t> selected;
    Texts options;
  };
  const Texts all = {"Key1=" + kUrls[0], "Key2=" + kUrls[1], "Key3=" + kUrls[2]};
  const Texts without_b = {"Key1=" + kUrls[0], "Key3=" + kUrls[2]};
  const Case kCases[] = {
      {"ListItemHere", {1}, without_b},
      {"ListItemNew", {1}, without_b},
      {"ListItemRemove", {1}, without_b},
      {"ListItemRemove", {}, all},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.method) + (c.selected.empty() ? ", nothing selected" : ""));
    BridgeRig rig;  // each action on the same three entries
    rig.h.SelectItems(c.selected);

    EXPECT_TRUE(rig.Call(c.method).empty());

    // No navigation has been delivered and no timer has fired: all of it happened in the call.
    EXPECT_EQ(rig.h.SkinOptions(), c.options);
    EXPECT_EQ(rig.h.skin().TakePageCalls(), Texts{"OnUpdateList()"});
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
  }
}

struct PageSelection {
  const char* name;
  const char* box;  // the options of the page's selection box
  std::vector<std::size_t> selected_before;
  std::vector<bool> selected_after;
  bool error_shown;
};

const PageSelection kPageSelections[] = {
    {"matched by value, not by position; an entry with no option keeps its state",
     "<option value='Key3' selected>c</option><option value='Key1'>a</option>",
     {0, 1},
     {false, true, true},
     false},
    {"an option with no list item ends the copy",
     "<option value='Key2' selected>b</option><option value='Gone' selected>x</option>"
     "<option value='Key1' selected>a</option>",
     {},
     {false, true, false},
     true},
};

TEST_F(ScriptBridgeTest, ThePagesSelectionIsCopiedIntoTheList) {
  for (const PageSelection& c : kPageSelections) {
    SCOPED_TRACE(c.name);
    BridgeRig rig;
    rig.h.ShowSkinPage(PageWith("<select id='defaultLKCaptureListLarkspan' multiple>" +
                                std::string(c.box) + "</select>"));
    rig.h.SelectItems(c.selected_before);
    const std::optional<Texts> options = rig.h.SkinOptions();

    EXPECT_TRUE(rig.Call("defaultLKCaptureListLarkspanUpdate").empty());

    EXPECT_EQ(rig.Selected(), c.selected_after);
    EXPECT_EQ(rig.h.SkinOptions(), options);
    const auto& shown = rig.h.machine.ui.message_boxes();
    ASSERT_EQ(shown.size(), c.error_shown ? 1u : 0u);
    if (c.error_shown) {
      EXPECT_TRUE(std::regex_match(
          shown[0].text,
          std::regex("Error In ListUpdate Function\r\nNumber: -?[0-9]+\r\nDescription: .+")))
          << shown[0].text;
      EXPECT_FALSE(shown[0].title.has_value());
      EXPECT_EQ(shown[0].style, kMbOk);
    }
  }
}

}  // namespace
}  // namespace windlock
