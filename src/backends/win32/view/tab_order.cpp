#include "backends/win32/view/tab_order.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace windlock::win32 {
namespace {

// More than any form holds; a guard against a tab order that never comes round.
constexpr std::size_t kMostTabStops = 512;

// The controls Tab stops at (into frames too), as a person reads them: row by row from the top,
// each row from the left. The bar's frames come before their neighbours in the form's order,
// which would put the preview pane and its check box before the list above them.
std::vector<HWND> TabStops(HWND window) {
  std::vector<HWND> stops;
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  for (HWND at = first; at && stops.size() < kMostTabStops;
       at = GetNextDlgTabItem(window, at, FALSE)) {
    if (!stops.empty() && at == first) break;
    stops.push_back(at);
  }
  // The look not in use waits out of sight, its controls visible all the same.
  RECT form{};
  GetWindowRect(window, &form);
  std::erase_if(stops, [&](HWND control) {
    RECT rect{}, shown{};
    GetWindowRect(control, &rect);
    return !IntersectRect(&shown, &rect, &form);
  });
  auto place = [](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return std::pair{rect.top, rect.left};
  };
  std::stable_sort(stops.begin(), stops.end(), [&](HWND a, HWND b) { return place(a) < place(b); });
  return stops;
}

// The window `focus` is in that a tab stop may be: the focused window itself or the nearest of
// its parents inside `window` (a pane hosting a page keeps the focus in windows of its own).
HWND InTabOrder(HWND window, HWND focus, const std::vector<HWND>& stops) {
  for (HWND at = focus; at && at != window; at = GetParent(at)) {
    if (std::find(stops.begin(), stops.end(), at) != stops.end()) return at;
  }
  return nullptr;
}

}  // namespace

TabMove MoveFocusByTab(HWND window, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return TabMove::kNotTab;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return TabMove::kNotTab;
  const bool back = GetKeyState(VK_SHIFT) < 0;
  const std::vector<HWND> stops = TabStops(window);
  if (stops.empty()) return TabMove::kPastTheEnd;
  HWND focus = GetFocus();
  HWND next = nullptr;
  // From the form itself or a control Tab does not stop at, to the first (Shift: the last).
  if (HWND from = InTabOrder(window, focus, stops)) {
    auto at = std::find(stops.begin(), stops.end(), from);
    if (at == (back ? stops.begin() : stops.end() - 1)) return TabMove::kPastTheEnd;
    next = back ? *(at - 1) : *(at + 1);
  } else {
    next = back ? stops.back() : stops.front();
  }
  SetFocus(next);
  return TabMove::kMoved;
}

}  // namespace windlock::win32
