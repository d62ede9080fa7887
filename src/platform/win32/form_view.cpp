#include "platform/win32/form_view.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "common/twips.h"
#include "platform/win32/activation_context.h"
#include "platform/win32/module.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kFormClass = L"WindlockForm";
constexpr const wchar_t* kFrameClass = L"WindlockFrame";
constexpr UINT kSyncMessage = WM_APP + 1;
constexpr UINT kActivateMessage = WM_APP + 2;
constexpr int kFirstControlId = 1000;
constexpr const wchar_t* kListColumn = L"Captured Pop-ups";

// The views of this thread, newest first. A plain pointer: a thread_local object with a
// destructor would outlive the module on a browser thread that unloads it.
thread_local FormView* t_first_view = nullptr;

// The font dialogs and message boxes use, which is what the system's own windows show.
OwnedFont MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return OwnedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  }
  return OwnedFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void SetItemState(HWND list, int index, bool selected) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SetItemText(HWND list, int index, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void InsertItem(HWND list, int index, const ListView::Item& model) {
  std::wstring wide = Widen(model.text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = wide.data();
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (model.selected) SetItemState(list, index, true);
}

}  // namespace

HWND FormView::CreateWindowFor(Form& form, HostedControls& hosted) {
  RegisterModuleClass(kFormClass, FormProc, true);
  RegisterModuleClass(kFrameClass, FrameProc, true);
  HWND window =
      CreateWindowExW(0, kFormClass, Widen(form.name()).c_str(), WS_CLIPCHILDREN | WS_POPUP, 0, 0,
                      0, 0, nullptr, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  auto* view = new FormView(form, window, hosted);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  return window;
}

FormView::FormView(Form& form, HWND window, HostedControls& hosted)
    : form_(form), window_(window), hosted_(hosted), font_(MessageFont()) {
  ScreenDc screen;
  dpi_x_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
  dpi_y_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
  next_ = t_first_view;
  t_first_view = this;
}

FormView::~FormView() {
  for (FormView** link = &t_first_view; *link; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      break;
    }
  }
}

void ScheduleFormViewSync() noexcept {
  for (FormView* view = t_first_view; view; view = view->next_) view->RequestSync();
}

void FormView::RequestSync() noexcept {
  if (sync_posted_ || window_gone_) return;
  sync_posted_ = PostMessageW(window_, kSyncMessage, 0, 0) != FALSE;
}

template <typename Handler>
void FormView::Dispatch(Handler&& handler) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  ++busy_;
  try {
    handler();
  } catch (...) {
    // The form reports its own faults; nothing may cross back into user32.
  }
  --busy_;
  if (window_gone_) {
    if (busy_ == 0) delete this;
    return;
  }
  ScheduleFormViewSync();
}

LRESULT CALLBACK FormView::FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wparam, lparam);
  return view->HandleFormMessage(message, wparam, lparam);
}

LRESULT CALLBACK FormView::FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (view && view->HandleParentMessage(message, wparam, lparam, result)) return result;
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT FormView::HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (HandleParentMessage(message, wparam, lparam, result)) return result;
  switch (message) {
    case kSyncMessage:
      sync_posted_ = false;
      Sync();
      return 0;
    case WM_SHOWWINDOW:
      // The form's Activate event follows the first showing, once ShowWindow has returned.
      if (wparam && !activated_) PostMessageW(window_, kActivateMessage, 0, 0);
      break;
    case kActivateMessage:
      if (!activated_) {
        activated_ = true;
        Dispatch([this] { form_.Activate(); });
      }
      return 0;
    case WM_SIZE: {
      float width = PixelsToTwips(LOWORD(lparam), dpi_x_);
      float height = PixelsToTwips(HIWORD(lparam), dpi_y_);
      Dispatch([this, width, height] { form_.Resize(width, height); });
      return 0;
    }
    case WM_DESTROY:
      ParkHosted();
      break;
    case WM_NCDESTROY: {
      HWND window = window_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_gone_ = true;
      if (busy_ == 0) delete this;
      return DefWindowProcW(window, message, wparam, lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool FormView::HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      Control* control = ControlWithId(LOWORD(wparam));
      if (!control || syncing_) return false;
      if (HIWORD(wparam) == BN_CLICKED) {
        Dispatch([control] { control->Click(); });
        return true;
      }
      return false;
    }
    case WM_NOTIFY: {
      const auto& notice = *reinterpret_cast<const NMHDR*>(lparam);
      Control* control = ControlWithId(static_cast<int>(notice.idFrom));
      if (!control || control->kind() != ControlKind::kListView) return false;
      HandleListNotice(*control, notice);
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      Control* control = ControlWithId(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)));
      if (!control || !control->highlight) return false;
      auto dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
      return true;
    }
    default:
      return false;
  }
}

void FormView::HandleListNotice(Control& control, const NMHDR& notice) {
  auto& list = static_cast<ListView&>(control);
  switch (notice.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
      if (syncing_ || !(change.uChanged & LVIF_STATE)) return;
      bool selected = (change.uNewState & LVIS_SELECTED) != 0;
      if (selected == ((change.uOldState & LVIS_SELECTED) != 0)) return;
      Shown& shown = shown_[&control];
      // -1: every item.
      std::size_t first = change.iItem < 0 ? 0 : static_cast<std::size_t>(change.iItem);
      std::size_t last = change.iItem < 0 ? list.size() : first + 1;
      for (std::size_t index = first; index < std::min(last, list.size()); ++index) {
        list.SetSelected(index, selected);
        if (index < shown.items.size()) shown.items[index].selected = selected;
      }
      shown.revision = list.revision();
      return;
    }
    case NM_CLICK:
    case NM_RCLICK: {
      bool on_item = reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem >= 0;
      if (list.on_mouse_down) Dispatch([&list, on_item] { list.on_mouse_down(on_item); });
      return;
    }
    case NM_DBLCLK:
      if (list.on_double_click) Dispatch([&list] { list.on_double_click(); });
      return;
    default:
      return;
  }
}

Control* FormView::ControlWithId(int id) {
  const auto& controls = form_.controls();
  std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
  if (id < kFirstControlId || index >= controls.size()) return nullptr;
  return controls[index].get();
}

void FormView::Sync() {
  if (window_gone_ || syncing_) return;
  syncing_ = true;
  try {
    for (const auto& control : form_.controls()) {
      Shown& shown = ShownFor(*control);
      if (shown.hosted) {
        SyncHosted(*control, shown);
      } else if (shown.window) {
        SyncWindow(*control, shown);
      }
    }
  } catch (...) {
    // A window that cannot be made or moved keeps its last state; the next event tries again.
  }
  syncing_ = false;
}

FormView::Shown& FormView::ShownFor(Control& control) {
  auto found = shown_.find(&control);
  if (found != shown_.end()) return found->second;
  Shown shown;
  if (HostedControl* hosted = hosted_.Find(control)) {
    shown.hosted = hosted;
  } else {
    const auto& controls = form_.controls();
    auto position = std::find_if(controls.begin(), controls.end(),
                                 [&](const auto& each) { return each.get() == &control; });
    int id = kFirstControlId + static_cast<int>(position - controls.begin());
    shown.window = CreateControlWindow(control, ContainerWindow(control), id);
  }
  return shown_.emplace(&control, std::move(shown)).first->second;
}

HWND FormView::ContainerWindow(const Control& control) {
  if (!control.container) return window_;
  Shown& container = ShownFor(*control.container);
  return container.window ? container.window : window_;
}

HWND FormView::CreateControlWindow(Control& control, HWND parent, int id) {
  const wchar_t* window_class = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD extended = 0;
  switch (control.kind()) {
    case ControlKind::kLabel:
      window_class = L"STATIC";
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ControlKind::kButton:
      window_class = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::kCheckBox:
      // The form decides the state: a click reaches it, and the sync shows what it chose.
      window_class = L"BUTTON";
      style |= BS_CHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::kFrame:
      window_class = kFrameClass;
      style |= WS_CLIPCHILDREN;
      break;
    case ControlKind::kListView:
      window_class = WC_LISTVIEWW;
      style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
      extended = WS_EX_CLIENTEDGE;
      break;
    default:
      // Only the bar's form has a window of its own; the kinds its form lacks have none yet.
      return nullptr;
  }
  ModuleActivation activation;
  HWND window =
      CreateWindowExW(extended, window_class, L"", style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (control.kind() == ControlKind::kFrame) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  } else if (control.kind() == ControlKind::kListView) {
    SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kListColumn);
    column.cx = 0;
    SendMessageW(window, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  }
  return window;
}

RECT FormView::PixelRect(const Control& control) const {
  int left = TwipsToPixels(control.left, dpi_x_);
  int top = TwipsToPixels(control.top, dpi_y_);
  // A form too small for its layout gives some controls no room, never a negative size.
  int width = std::max(0, TwipsToPixels(control.width, dpi_x_));
  int height = std::max(0, TwipsToPixels(control.height, dpi_y_));
  return RECT{left, top, left + width, top + height};
}

void FormView::SyncWindow(Control& control, Shown& shown) {
  HWND window = shown.window;
  RECT rect = PixelRect(control);
  if (!SameRect(rect, shown.rect)) {
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    shown.rect = rect;
  }
  if (control.caption != shown.caption) {
    SetWindowTextW(window, Widen(control.caption).c_str());
    shown.caption = control.caption;
  }
  if (control.enabled != shown.enabled) {
    EnableWindow(window, control.enabled);
    shown.enabled = control.enabled;
  }
  if (control.kind() == ControlKind::kCheckBox && control.value != shown.value) {
    SendMessageW(window, BM_SETCHECK, control.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    shown.value = control.value;
  }
  if (control.kind() == ControlKind::kListView) SyncList(static_cast<ListView&>(control), shown);
  if (control.visible != shown.visible) {
    ShowWindow(window, control.visible ? SW_SHOWNA : SW_HIDE);
    shown.visible = control.visible;
  }
}

void FormView::SyncHosted(Control& control, Shown& shown) {
  RECT rect = PixelRect(control);
  if (!SameRect(rect, shown.rect)) {
    shown.hosted->Place(ContainerWindow(control), rect);
    shown.rect = rect;
  }
  if (control.visible != shown.visible) {
    shown.hosted->Show(control.visible);
    shown.visible = control.visible;
  }
}

void FormView::SyncList(ListView& list, Shown& shown) {
  int column_width = std::max(0, TwipsToPixels(list.column_width, dpi_x_));
  if (column_width != shown.column_width) {
    SendMessageW(shown.window, LVM_SETCOLUMNWIDTH, 0, column_width);
    shown.column_width = column_width;
  }
  if (list.revision() == shown.revision) return;
  // The form only appends items and removes some keeping the order, so one walk over both
  // finds what went, what changed and what came.
  const auto& items = list.items();
  std::size_t old = 0;
  int position = 0;
  for (const ListView::Item& item : items) {
    while (old < shown.items.size() && shown.items[old].key != item.key) {
      SendMessageW(shown.window, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
      ++old;
    }
    if (old < shown.items.size()) {
      const ListView::Item& was = shown.items[old];
      if (was.text != item.text) SetItemText(shown.window, position, item.text);
      if (was.selected != item.selected) SetItemState(shown.window, position, item.selected);
      ++old;
    } else {
      InsertItem(shown.window, position, item);
    }
    ++position;
  }
  for (; old < shown.items.size(); ++old) {
    SendMessageW(shown.window, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
  }
  shown.items = items;
  shown.revision = list.revision();
}

void FormView::ParkHosted() {
  for (auto& [control, shown] : shown_) {
    if (!shown.hosted) continue;
    try {
      shown.hosted->Show(false);
      shown.hosted->Place(hosted_.parking(), RECT{0, 0, 0, 0});
    } catch (...) {
      // A control that cannot move goes with the window; the view tries the others.
    }
  }
}

}  // namespace windlock::win32
