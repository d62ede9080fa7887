// The captured list driven by an arbitrary sequence of what the user, the preview pane and a
// skin page do to it; after each step the list view, the XML mirror and the skin page's
// selection box must agree with the entries. One step a line (fields separated by tabs):
//   P<n>                  the skin page (re)loads: 0 with the placeholder for the bar's box, 1 with
//                         a box of its own holding an option of its own, 2 with neither
//   H / D                 navigations wait from now on / are delivered again
//   c<url>[ title flags target post-data headers]
//                         a pop-up is captured; its title, when given, is reported
//   t<title>              the preview reports a title
//   n<url> <title>        a link followed in the preview pane
//   l<index> <0|1>        the user (un)selects a list view item
//   o<index> <0|1>[ u]    the user (un)selects an option of the page's box; with "u" its change
//                         event calls the bar
//   s<index> / x<index>   the page's script calls ListItemSelect / ListItemUnSelect
//   h / w / r / v         the page's script calls ListItemHere / ListItemNew / ListItemRemove /
//                         ListItemPreview
//   b<index>              a click on the bar's button Command1(index)
//   m<offset>             the context menu's preview (0), cut (1), copy (2) or select all (3)
//   d                     a double click on the list view
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/band_menu.h"
#include "bar/bar_form.h"
#include "bar_fuzz.h"
#include "input_lines.h"

namespace windlock::fuzz {
namespace {

// Each page has OnUpdateList, so that a step shows whether it brought the list up to date.
constexpr const char* kPages[] = {
    "<div id=\"InsertCaptureList\"></div><script>function OnUpdateList() {}</script>",
    ("<select id=\"defaultLKCaptureListLarkspan\" multiple>"
     "<option value=\"Mine\">the page's own</option></select>"
     "<script>function OnUpdateList() {}</script>"),
    "<p>no list here</p><script>function OnUpdateList() {}</script>",
};

void Bridge(unit::BarHarness& h, const char* method, std::vector<Variant> args = {}) {
  try {
    h.bar.bridge().Invoke(method, args);
  } catch (const Error&) {
    // A bad position reaches the script as an automation error.
  }
}

Variant OptionalAt(const Fields& fields, std::size_t index, Variant value) {
  return index < fields.size() ? value : Variant();
}

void Capture(unit::BarHarness& h, const Fields& fields) {
  NavigateRequest request{BrowserText(fields, 0), {}, {}, {}, {}};
  request.flags = OptionalAt(fields, 2, static_cast<int32_t>(NumberAt(fields, 2)));
  request.target_frame_name = OptionalAt(fields, 3, BrowserText(fields, 3));
  const std::string post = TextAt(fields, 4);
  request.post_data = OptionalAt(fields, 4, Variant::Bytes(post.begin(), post.end()));
  request.headers = OptionalAt(fields, 5, BrowserText(fields, 5));
  std::optional<std::string> title;
  if (fields.size() > 1) title = BrowserText(fields, 1);
  h.OpenPopup(request, title);
}

void SelectInPage(unit::BarHarness& h, const Fields& fields) {
  HtmlDocument* page = h.skin().Document();
  HtmlOptions* options = page ? page->SelectOptions(kCaptureSelectId) : nullptr;
  const auto index = static_cast<std::size_t>(NumberAt(fields, 0));
  if (!options || index >= options->length()) return;
  options->SetSelected(index, NumberAt(fields, 1) != 0);
  if (TextAt(fields, 2) == "u") Bridge(h, "defaultLKCaptureListLarkspanUpdate");
}

void Step(unit::BarHarness& h, std::string_view line) {
  const Fields fields = FieldsOf(line);
  ListView& list = h.bar.URLList();
  switch (line.front()) {
    case 'P':
      h.ShowSkinPage(kPages[static_cast<std::size_t>(NumberAt(fields, 0)) % std::size(kPages)]);
      break;
    case 'H':
      h.machine.navigations.Hold();
      break;
    case 'D':
      h.machine.navigations.Release();
      break;
    case 'c':
      Capture(h, fields);
      break;
    case 't':
      h.preview().RaiseTitleChange(BrowserText(fields, 0));
      break;
    case 'n':
      h.preview().Arrive(NavigateRequest::To(BrowserText(fields, 0)), BrowserText(fields, 1));
      break;
    case 'l': {
      const auto index = static_cast<std::size_t>(NumberAt(fields, 0));
      if (index < list.size()) list.SetSelected(index, NumberAt(fields, 1) != 0);
      break;
    }
    case 'o':
      SelectInPage(h, fields);
      break;
    case 's':
    case 'x':
      Bridge(h, line.front() == 's' ? "ListItemSelect" : "ListItemUnSelect",
             {static_cast<int32_t>(NumberAt(fields, 0))});
      break;
    case 'h':
      Bridge(h, "ListItemHere");
      break;
    case 'w':
      Bridge(h, "ListItemNew");
      break;
    case 'r':
      Bridge(h, "ListItemRemove");
      break;
    case 'v':
      Bridge(h, "ListItemPreview");
      break;
    case 'b':
      h.bar.buttons().Command1_Click(static_cast<int>(NumberAt(fields, 0)));
      break;
    case 'm':
      // The menu's list commands; the others open dialogs of their own.
      h.bar.HandleMenuCommand(static_cast<uint64_t>(NumberAt(fields, 0)) % (kMenuSelectAll + 1));
      break;
    case 'd':
      h.bar.URLList_DblClick();
      break;
  }
}

// Whether the list was brought up to date: every update ends by telling the page, and nothing
// changes the views after it within a step.
bool Updated(unit::BarHarness& h) {
  const std::vector<std::string> calls = h.skin().TakePageCalls();
  return std::find(calls.begin(), calls.end(), "OnUpdateList()") != calls.end();
}

}  // namespace
}  // namespace windlock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace windlock;
  unit::BarHarness h;
  h.settings() = unit::QuietSettings();
  h.ShowSkinPage(fuzz::kPages[0]);
  h.skin().TakePageCalls();
  fuzz::ForEachLine(data, size, [&](std::string_view line) {
    if (line.empty()) return;
    fuzz::Step(h, line);
    h.machine.navigations.DeliverAll();
    fuzz::CheckViews(h, fuzz::Updated(h));
  });
  return 0;
}
