#include <algorithm>
#include <chrono>
#include <optional>

#include "backends/win32/com/text.h"
#include "backends/win32/view/control_kinds.h"
#include "common/twips.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kListColumn = L"Captured Pop-ups";
// In a storm of captures the window learns of changes at most this often, and at most so often
// that learning of them takes a fortieth of the time, yet within a second.
constexpr DWORD kStormInterval = 50;
constexpr DWORD kUpdateShare = 40;
constexpr DWORD kLongestWait = 1000;

void SetItemState(HWND list, int index, bool selected) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool Selected(UINT state) {
  return (state & LVIS_SELECTED) != 0;
}

// The user's selection reaches the list; only items whose state differs are changed, so that a
// click that clears a long selection touches just the items that were selected.
ControlWindow::Action SelectRange(ListView& list, std::size_t first, std::size_t end,
                                  bool selected) {
  return [&list, first, end, selected] {
    for (std::size_t index = first; index < std::min(end, list.size()); ++index) {
      if (list.items()[index].selected != selected) list.SetSelected(index, selected);
    }
  };
}

class ListViewWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  Action Notify(Control& control, NMHDR& notice) override {
    auto& list = static_cast<ListView&>(control);
    switch (notice.code) {
      case LVN_GETDISPINFOW:
        ShowText(list, reinterpret_cast<NMLVDISPINFOW&>(notice).item);
        return {};
      case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
        if (!(change.uChanged & LVIF_STATE)) return {};
        const bool selected = Selected(change.uNewState);
        if (selected == Selected(change.uOldState)) return {};
        // -1: every item.
        if (change.iItem < 0) return SelectRange(list, 0, list.size(), selected);
        const auto item = static_cast<std::size_t>(change.iItem);
        return SelectRange(list, item, item + 1, selected);
      }
      case LVN_ODSTATECHANGED: {
        // A run of items selected at once (Shift and a click), which the window reports whole.
        const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(notice);
        if (change.iFrom < 0 || change.iTo < change.iFrom) return {};
        const bool selected = Selected(change.uNewState);
        if (selected == Selected(change.uOldState)) return {};
        return SelectRange(list, static_cast<std::size_t>(change.iFrom),
                           static_cast<std::size_t>(change.iTo) + 1, selected);
      }
      case NM_CLICK:
      case NM_RCLICK: {
        if (!list.on_mouse_down) return {};
        const bool on_item = reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem >= 0;
        return [&list, on_item] { list.on_mouse_down(on_item); };
      }
      case NM_DBLCLK:
        if (!list.on_double_click) return {};
        return [&list] { list.on_double_click(); };
      default:
        return {};
    }
  }

 private:
  // The window asks for an item's text as it draws it.
  static void ShowText(const ListView& list, LVITEMW& item) {
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0 || item.iItem < 0) return;
    const auto index = static_cast<std::size_t>(item.iItem);
    std::wstring text = index < list.size() ? Widen(list.items()[index].text) : std::wstring();
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }

  void SyncState(Control& control, Dpi dpi) override {
    auto& list = static_cast<ListView&>(control);
    int column_width = std::max(0, TwipsToPixels(list.column_width, dpi.x));
    if (column_width != column_width_) {
      SendMessageW(window(), LVM_SETCOLUMNWIDTH, 0, column_width);
      column_width_ = column_width;
    }
    // Each update costs the list view up to milliseconds however few items changed (its count,
    // its scroll bar, the items' states and their repainting); under Wine a new count alone
    // repaints the scroll bar four times, some 25 ms. What it shows reads the items' texts as it
    // draws them, so nothing wrong is shown meanwhile; a list that got shorter is shown at once,
    // since the window must not ask for items that are gone.
    const DWORD now = GetTickCount();
    const auto started = std::chrono::steady_clock::now();
    const DWORD interval = std::clamp(kUpdateShare * update_cost_, kStormInterval, kLongestWait);
    const DWORD since = now - updated_;
    waiting_ = watch_ && list.size() >= item_count_ && since < interval &&
                       (list.size() != item_count_ || watch_->HasChanges())
                   ? std::optional<DWORD>(interval - since)
                   : std::nullopt;
    if (waiting_) return;
    ListWatch::Ranges ranges;
    if (!watch_) {
      watch_ = std::make_unique<ListWatch>(list);
      if (list.size() > 0) ranges.emplace_back(0, list.size() - 1);
    } else {
      ranges = watch_->TakeRanges();
    }
    const std::size_t shown_before = item_count_;
    const bool count_changed = list.size() != item_count_;
    if (count_changed) {
      SendMessageW(window(), LVM_SETITEMCOUNT, list.size(),
                   LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
      item_count_ = list.size();
    }
    // The window keeps the selection itself, by position: the changed items' states are set anew.
    // Items new to the window are unselected there, and drawn by the new count.
    for (auto [first, last] : ranges) {
      for (std::size_t index = first; index <= last && index < list.size(); ++index) {
        const bool selected = list.items()[index].selected;
        if (index >= shown_before) {
          if (selected) SetItemState(window(), static_cast<int>(index), true);
        } else if (selected !=
                   (SendMessageW(window(), LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0)) {
          SetItemState(window(), static_cast<int>(index), selected);
        }
      }
      if (first < shown_before) {
        SendMessageW(window(), LVM_REDRAWITEMS, first, std::min(last, shown_before - 1));
      }
    }
    if (!ranges.empty() || count_changed) {
      updated_ = now;
      update_cost_ = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - started)
                                            .count());
    }
  }

  std::optional<DWORD> Waiting() const override { return waiting_; }

  int column_width_ = -1;
  // What changed in the list since the window last showed it, and how many items it shows.
  std::unique_ptr<ListWatch> watch_;
  std::size_t item_count_ = 0;
  // When the window last learned of a change and what that took, and when changes that wait are
  // to be shown.
  DWORD updated_ = 0;
  DWORD update_cost_ = 0;
  std::optional<DWORD> waiting_;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeListViewWindow(const ChildPlace& place) {
  // The window asks for each item's text as it draws it, so an update of a long list costs what
  // changed, not the list's length.
  HWND window =
      CreateChildWindow(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_TABSTOP,
                        WS_EX_CLIENTEDGE, place);
  auto shown = std::make_unique<ListViewWindow>(window);
  SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(kListColumn);
  column.cx = 0;
  SendMessageW(window, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  return shown;
}

}  // namespace windlock::win32
