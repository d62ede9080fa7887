// The captured list's three views after random mixes of captures, renames, selections, removals,
// previews, opens and skin switches, against a full reconciliation kept here: every update walks
// all entries and options, as the list was once kept. The bar updates only what changed; what
// the user, the skin page and the mirror see must not differ after any step, nor what the mirror
// says when it is read at last.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "capture/captured_list.h"

namespace windlock {
namespace {

constexpr const char* kPlaceholderPage =
    "<html><body><div id=\"InsertCaptureList\"></div><script>"
    "function OnPreview(url) {} function OnUpdateList() {}</script></body></html>";
constexpr const char* kOwnSelectPage =
    "<html><body><select id=\"defaultLKCaptureListLarkspan\" multiple>"
    "<option value=\"Mine\">the page's own</option></select>"
    "<script>function OnUpdateList() {}</script></body></html>";
constexpr const char* kBarePage =
    "<html><body><script>function OnUpdateList() {}</script></body></html>";

struct Option {
  std::string value;
  std::string text;
  bool selected = false;
};

// The views as a full reconciliation keeps them. Entries and list items are the bar's own; the
// oracle keeps what an update cannot derive from them: the options and the mirror's marks.
class FullReconciliation {
 public:
  void PageShown(const char* page, const std::vector<CapturedEntry>& entries) {
    options_.reset();
    if (page == kOwnSelectPage) options_ = std::vector<Option>{{"Mine", "the page's own"}};
    if (page != kPlaceholderPage) return;
    // The completed page gets the box with every entry in it.
    options_.emplace();
    for (const CapturedEntry& entry : entries) options_->push_back({entry.Key, entry.URLName});
  }
  void Updated(const std::vector<CapturedEntry>& entries, const ListView& list) {
    auto selected = [&](const CapturedEntry& entry) {
      return list.items()[*list.Find(entry.Key)].selected;
    };
    for (const CapturedEntry& entry : entries) marks_[entry.Key] = selected(entry);
    if (!options_) return;
    std::erase_if(*options_, [&](const Option& option) {
      return std::none_of(entries.begin(), entries.end(),
                          [&](const CapturedEntry& entry) { return entry.Key == option.value; });
    });
    for (std::size_t j = 0; j < entries.size(); ++j) {
      if (j >= options_->size()) {
        options_->push_back({entries[j].Key, entries[j].URLName});
        continue;
      }
      (*options_)[j].text = entries[j].URLName;
      if (selected(entries[j])) (*options_)[j].selected = true;
    }
  }
  void Marked(const std::string& key, bool selected) { marks_[key] = selected; }
  void Picked(const std::vector<bool>& chosen) {
    for (std::size_t i = 0; i < chosen.size(); ++i) (*options_)[i].selected = chosen[i];
  }

  // Reading the mirror makes its pending elements, so it is read only `with_mirror`: between two
  // reads, elements wait through captures, renames, selections and removals.
  void ExpectShownBy(unit::BarHarness& h, bool with_mirror) {
    const std::vector<CapturedEntry>& entries = h.bar.captured().entries();
    Texts keys;
    Texts names;
    std::string mirror;
    for (const CapturedEntry& entry : entries) {
      keys.push_back(entry.Key);
      names.push_back(entry.URLName);
      mirror += "<URL URLName=\"" + entry.URLName + "\" URLLocation=\"" + entry.URL.ToText() +
                "\" selected=\"" + (marks_[entry.Key] ? "true" : "false") + "\" visible=\"true\"/>";
    }
    Texts item_keys;
    for (const ListView::Item& item : h.bar.URLList().items()) item_keys.push_back(item.key);
    EXPECT_EQ(item_keys, keys);
    EXPECT_EQ(h.ListTexts(), names);
    if (with_mirror) {
      EXPECT_EQ(h.Mirror(), mirror.empty() ? "<URLS/>" : "<URLS>" + mirror + "</URLS>");
    }
    std::optional<Texts> options;
    if (options_) {
      options.emplace();
      for (const Option& option : *options_) {
        options->push_back(option.value + "=" + option.text + (option.selected ? " *" : ""));
      }
    }
    EXPECT_EQ(h.SkinOptions(), options);
  }

 private:
  std::optional<std::vector<Option>> options_;
  std::map<std::string, bool> marks_;
};

struct Session {
  unit::BarHarness& h;
  FullReconciliation& oracle;
  std::mt19937& random;
  int serial = 0;

  std::size_t Below(std::size_t bound) { return bound ? random() % bound : 0; }
  std::vector<bool> Some(std::size_t count) {
    std::vector<bool> chosen(count);
    for (std::size_t i = 0; i < count; ++i) chosen[i] = random() % 3 == 0;
    return chosen;
  }
  std::size_t count() { return h.bar.captured().CapturedCount(); }
  const struct Operation& Pick();
  void Call(const std::string& method, std::vector<Variant> args = {}) {
    h.bar.bridge().Invoke(method, args);
  }
};

struct Operation {
  const char* name;
  int weight;  // how often it comes, against the others
  void (*act)(Session&);
};

const Operation kOperations[] = {
    {"capture", 4,
     [](Session& r) {
       std::string url = "http://pop" + std::to_string(++r.serial) + ".example/";
       std::optional<std::string> title;
       if (r.random() % 2) title = "Title " + std::to_string(r.serial);
       r.h.OpenPopup(NavigateRequest::To(url), title);
     }},
    {"title", 2,
     [](Session& r) { r.h.preview().RaiseTitleChange("Renamed " + std::to_string(++r.serial)); }},
    {"select in the list", 3,
     [](Session& r) {
       std::vector<bool> chosen = r.Some(r.count());
       std::vector<std::size_t> positions;
       for (std::size_t i = 0; i < chosen.size(); ++i) {
         if (chosen[i]) positions.push_back(i);
       }
       r.h.SelectItems(positions);
     }},
    {"select through the bridge", 2,
     [](Session& r) {
       if (r.count() == 0) return;
       std::size_t position = r.Below(r.count());
       bool selected = r.random() % 2;
       r.Call(selected ? "ListItemSelect" : "ListItemUnSelect", {static_cast<int32_t>(position)});
       r.oracle.Marked(r.h.bar.captured().entries()[position].Key, selected);
     }},
    {"pick in the page's box", 2,
     [](Session& r) {
       HtmlOptions* options = r.h.skin().Document()->SelectOptions(kCaptureSelectId);
       if (!options) return;
       std::vector<bool> chosen = r.Some(options->length());
       for (std::size_t i = 0; i < chosen.size(); ++i) options->SetSelected(i, chosen[i]);
       r.oracle.Picked(chosen);
       // The box's change event.
       r.Call("defaultLKCaptureListLarkspanUpdate");
     }},
    {"remove", 1, [](Session& r) { r.h.bar.buttons().Command1_Click(2); }},
    {"remove through the bridge", 1, [](Session& r) { r.Call("ListItemRemove"); }},
    {"preview", 1,
     [](Session& r) {
       r.h.bar.captured().PreviewSelectedEntry();
       r.h.machine.navigations.DeliverAll();
     }},
    {"open here", 1, [](Session& r) { r.Call("ListItemHere"); }},
    {"open in new windows", 1,
     [](Session& r) {
       r.h.bar.buttons().Command1_Click(1);
       r.h.machine.navigations.DeliverAll();
     }},
    {"switch skins", 2,
     [](Session& r) {
       const char* pages[] = {kPlaceholderPage, kOwnSelectPage, kBarePage};
       const char* page = pages[r.Below(3)];
       r.h.ShowSkinPage(page);
       r.oracle.PageShown(page, r.h.bar.captured().entries());
     }},
};

const Operation& Session::Pick() {
  int total = 0;
  for (const Operation& operation : kOperations) total += operation.weight;
  int pick = static_cast<int>(Below(total));
  for (const Operation& operation : kOperations) {
    pick -= operation.weight;
    if (pick < 0) return operation;
  }
  return kOperations[0];
}

TEST(CapturedListDifferentialTest, ViewsMatchAFullReconciliationAfterEveryStep) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    unit::BarHarness h;
    h.settings() = unit::QuietSettings();
    FullReconciliation oracle;
    std::mt19937 random(seed);
    Session run{h, oracle, random};
    h.ShowSkinPage(kPlaceholderPage);
    oracle.PageShown(kPlaceholderPage, {});
    for (int step = 0; step < 150; ++step) {
      const Operation& operation = run.Pick();
      SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step) + ": " +
                   operation.name);
      h.skin().TakePageCalls();
      operation.act(run);
      // Every update that got through ends by telling the page.
      for (const std::string& call : h.skin().TakePageCalls()) {
        if (call == "OnUpdateList()") oracle.Updated(h.bar.captured().entries(), h.bar.URLList());
      }
      oracle.ExpectShownBy(h, random() % 8 == 0 || step == 149);
      if (testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace windlock
