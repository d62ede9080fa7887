#include "backends/win32/form_view.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "backends/win32/activation_context.h"
#include "backends/win32/module.h"
#include "backends/win32/text.h"
#include "backends/win32/win32_error.h"
#include "common/twips.h"

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

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
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

}  // namespace

HWND FormView::CreateWindowFor(Form& form, HostedControls& hosted) {
  RegisterModuleClass(kFormClass, FormProc, true);
  RegisterModuleClass(kFrameClass, FrameProc, true);
  HWND window =
      CreateWindowExW(0, kFormClass, Widen(form.name()).c_str(), WS_CLIPCHILDREN | WS_POPUP, 0, 0,
                      0, 0, nullptr, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  auto* view = new FormView(form, window, &hosted, false);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  return window;
}

HWND FormView::CreateModalWindowFor(Form& form, HWND owner) {
  RegisterModuleClass(kFormClass, FormProc, true);
  RegisterModuleClass(kFrameClass, FrameProc, true);
  const bool framed = form.border == Form::Border::kFixedDialog;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN | (framed ? WS_CAPTION | WS_SYSMENU : WS_BORDER);
  DWORD extended = framed ? WS_EX_DLGMODALFRAME : WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  HWND window = CreateWindowExW(extended, kFormClass, Widen(form.caption).c_str(), style, 0, 0, 0,
                                0, owner, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  auto* view = new FormView(form, window, nullptr, true);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  view->Sync();
  return window;
}

FormView::FormView(Form& form, HWND window, HostedControls* hosted, bool modal)
    : form_(form), window_(window), hosted_(hosted), modal_(modal), font_(MessageFont()) {
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
  CoreCall call;
  std::shared_ptr<Form> alive = form_.KeepAlive();
  ++busy_;
  try {
    handler();
  } catch (...) {
    // The form reports its own faults; nothing may cross back into user32.
  }
  --busy_;
  if (window_gone_ && busy_ == 0) delete this;
}

bool FormView::TranslateFormKey(HWND window, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  // Ctrl alone: Shift or Alt with it is some other command.
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) {
    return false;
  }
  auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return false;
  view->Dispatch([view] { view->form_.CtrlTab(); });
  return true;
}

void FormView::FocusFirstControl(HWND window) {
  // A form without such a control (the alert) keeps the keyboard itself, for its key presses.
  if (HWND first = GetNextDlgTabItem(window, nullptr, FALSE)) SetFocus(first);
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
      // A modal form sizes its window itself; only a placed window tells its form its size.
      if (modal_) return 0;
      float width = PixelsToTwips(LOWORD(lparam), dpi_x_);
      float height = PixelsToTwips(HIWORD(lparam), dpi_y_);
      Dispatch([this, width, height] { form_.Resize(width, height); });
      return 0;
    }
    case WM_CLOSE:
      Dispatch([this] { form_.CloseBox(); });
      return 0;
    case WM_GETDLGCODE:
      // With the keyboard on the form itself, its characters are key presses of the form.
      return DLGC_WANTCHARS;
    case WM_CHAR:
      Dispatch([this, wparam] { form_.KeyPress(static_cast<int>(wparam)); });
      return 0;
    case WM_COMMAND:
      // Enter and Escape, as the dialog manager reports them. Enter presses the button that has
      // the keyboard, else the form's default one.
      if (LOWORD(wparam) == IDOK) {
        HWND focus = GetFocus();
        Control* focused = IsChild(window_, focus) ? ControlWithId(GetDlgCtrlID(focus)) : nullptr;
        if (focused && focused->kind() == ControlKind::kButton) {
          Dispatch([focused] { focused->Click(); });
        } else {
          Dispatch([this] { form_.PressEnter(); });
        }
        return 0;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        Dispatch([this] { form_.PressEscape(); });
        return 0;
      }
      break;
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
      return HandleCommand(*control, HIWORD(wparam), reinterpret_cast<HWND>(lparam));
    }
    case WM_HSCROLL: {
      Control* control = ControlWithId(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)));
      if (!control || syncing_ || control->kind() != ControlKind::kSlider) return false;
      int position =
          static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lparam), TBM_GETPOS, 0, 0));
      if (position != control->value) Dispatch([control, position] { control->Slide(position); });
      return true;
    }
    case WM_NOTIFY: {
      const auto& notice = *reinterpret_cast<const NMHDR*>(lparam);
      Control* control = ControlWithId(static_cast<int>(notice.idFrom));
      if (!control) return false;
      if (control->kind() == ControlKind::kTabStrip && notice.code == TCN_SELCHANGE && !syncing_) {
        int tab = static_cast<int>(SendMessageW(notice.hwndFrom, TCM_GETCURSEL, 0, 0)) + 1;
        Dispatch([control, tab] { control->Select(tab); });
        return true;
      }
      if (control->kind() != ControlKind::kListView) return false;
      HandleListNotice(*control, *reinterpret_cast<NMHDR*>(lparam));
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

bool FormView::HandleCommand(Control& control, WORD code, HWND window) {
  Control* target = &control;
  switch (code) {
    case BN_CLICKED:
      // STN_CLICKED has the same number: a label's click.
      Dispatch([target] { target->Click(); });
      return true;
    case EN_CHANGE: {
      if (control.kind() != ControlKind::kTextBox) return false;
      std::string typed = WindowText(window);
      if (typed == control.text) return true;
      shown_[&control].text = typed;
      Dispatch([target, typed] { target->Type(typed); });
      return true;
    }
    case EN_KILLFOCUS:
      if (control.kind() != ControlKind::kTextBox) return false;
      Dispatch([target] { target->Leave(); });
      return true;
    case LBN_SELCHANGE: {
      if (control.kind() != ControlKind::kListBox) return false;
      int index = static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
      shown_[&control].list_index = index;
      Dispatch([target, index] { target->Select(index); });
      return true;
    }
    default:
      return false;
  }
}

void FormView::HandleListNotice(Control& control, NMHDR& notice) {
  auto& list = static_cast<ListView&>(control);
  switch (notice.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(notice).item;
      const auto index = static_cast<std::size_t>(item.iItem);
      if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0 || item.iItem < 0) return;
      std::wstring text = index < list.size() ? Widen(list.items()[index].text) : std::wstring();
      lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
      return;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
      if (syncing_ || !(change.uChanged & LVIF_STATE)) return;
      bool selected = (change.uNewState & LVIS_SELECTED) != 0;
      if (selected == ((change.uOldState & LVIS_SELECTED) != 0)) return;
      // -1: every item.
      if (change.iItem < 0) {
        SelectRange(list, 0, list.size(), selected);
      } else {
        SelectRange(list, static_cast<std::size_t>(change.iItem),
                    static_cast<std::size_t>(change.iItem) + 1, selected);
      }
      return;
    }
    case LVN_ODSTATECHANGED: {
      // A run of items selected at once (Shift and a click), which the window reports whole.
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(notice);
      if (syncing_ || change.iFrom < 0 || change.iTo < change.iFrom) return;
      bool selected = (change.uNewState & LVIS_SELECTED) != 0;
      if (selected == ((change.uOldState & LVIS_SELECTED) != 0)) return;
      SelectRange(list, static_cast<std::size_t>(change.iFrom),
                  static_cast<std::size_t>(change.iTo) + 1, selected);
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
    if (modal_) SyncFormWindow();
    windows_made_ = false;
    for (const auto& control : form_.controls()) {
      Shown& shown = ShownFor(*control);
      if (shown.hosted) {
        SyncHosted(*control, shown);
      } else if (shown.window) {
        SyncWindow(*control, shown);
      }
    }
    if (windows_made_) PutTabStripsUnderPages();
    if (modal_) KeepKeyboardInView();
  } catch (...) {
    // A window that cannot be made or moved keeps its last state; the next event tries again.
  }
  syncing_ = false;
}

FormView::Shown& FormView::ShownFor(Control& control) {
  auto found = shown_.find(&control);
  if (found != shown_.end()) return found->second;
  Shown shown;
  if (HostedControl* hosted = hosted_ ? hosted_->Find(control) : nullptr) {
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
      // Only a label with a Click handler asks for the mouse.
      style |= SS_LEFT | SS_NOPREFIX | (control.on_click ? SS_NOTIFY : 0);
      break;
    case ControlKind::kButton:
      window_class = L"BUTTON";
      style |= (&control == form_.default_button() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
      break;
    case ControlKind::kCheckBox:
      // The form decides the state: a click reaches it, and the sync shows what it chose.
      window_class = L"BUTTON";
      style |= BS_CHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::kFrame:
    case ControlKind::kPicture:
      window_class = kFrameClass;
      style |= WS_CLIPCHILDREN;
      // Tab and the arrow keys go on into the controls inside.
      extended = WS_EX_CONTROLPARENT;
      break;
    case ControlKind::kTextBox:
      window_class = L"EDIT";
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      extended = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kListBox:
      window_class = L"LISTBOX";
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
      extended = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kSlider:
      window_class = TRACKBAR_CLASSW;
      style |= TBS_HORZ | TBS_NOTICKS | WS_TABSTOP;
      break;
    case ControlKind::kTabStrip:
      window_class = WC_TABCONTROLW;
      style |= WS_TABSTOP;
      break;
    case ControlKind::kListView:
      window_class = WC_LISTVIEWW;
      // The window asks for each item's text as it draws it, so an update of a long list costs
      // what changed, not the list's length.
      style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_TABSTOP;
      extended = WS_EX_CLIENTEDGE;
      break;
    default:
      // Browser and animation holders show a hosted control, not a window of their own.
      return nullptr;
  }
  ModuleActivation activation;
  HWND window =
      CreateWindowExW(extended, window_class, L"", style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  windows_made_ = true;
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

// Windows are made in the form's order, which is also the Tab order; a tab strip made before its
// pages would cover them, so it goes to the bottom, under everything it shares the form with.
void FormView::PutTabStripsUnderPages() {
  for (auto& [control, shown] : shown_) {
    if (control->kind() == ControlKind::kTabStrip && shown.window) {
      SetWindowPos(shown.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

// A control that went out of view or was disabled (a page switched away, Apply after applying)
// must not keep the keyboard, nor the form it falls back to (Windows hands it to the hidden
// window's parent): it goes on to the form's first control that can take it.
void FormView::KeepKeyboardInView() {
  HWND focus = GetFocus();
  if (focus != window_ && !IsChild(window_, focus)) return;
  if (focus != window_ && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  FocusFirstControl(window_);
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
  if (control.font && !shown.font) {
    shown.font = MakeFont(*control.font, dpi_y_);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(shown.font.get()), TRUE);
  }
  if (control.caption != shown.caption && control.kind() != ControlKind::kTextBox) {
    SetWindowTextW(window, Widen(control.caption).c_str());
    shown.caption = control.caption;
  }
  SyncKindState(control, shown);
  if (control.enabled != shown.enabled) {
    EnableWindow(window, control.enabled);
    shown.enabled = control.enabled;
  }
  if (control.kind() == ControlKind::kListView) SyncList(static_cast<ListView&>(control), shown);
  if (control.visible != shown.visible) {
    ShowWindow(window, control.visible ? SW_SHOWNA : SW_HIDE);
    shown.visible = control.visible;
  }
}

void FormView::SyncKindState(Control& control, Shown& shown) {
  HWND window = shown.window;
  switch (control.kind()) {
    case ControlKind::kCheckBox:
      if (control.value != shown.value) {
        SendMessageW(window, BM_SETCHECK, control.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        shown.value = control.value;
      }
      break;
    case ControlKind::kTextBox:
      if (control.text != shown.text) {
        shown.text = control.text;
        SetWindowTextW(window, Widen(control.text).c_str());
      }
      break;
    case ControlKind::kListBox:
      if (control.lines != shown.lines) {
        SendMessageW(window, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : control.lines) {
          SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
        }
        shown.lines = control.lines;
        shown.list_index = -2;
      }
      if (control.list_index != shown.list_index) {
        SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(control.list_index), 0);
        shown.list_index = control.list_index;
      }
      break;
    case ControlKind::kSlider:
      if (control.minimum != shown.minimum || control.maximum != shown.maximum) {
        SendMessageW(window, TBM_SETRANGEMIN, FALSE, control.minimum);
        SendMessageW(window, TBM_SETRANGEMAX, TRUE, control.maximum);
        shown.minimum = control.minimum;
        shown.maximum = control.maximum;
      }
      if (control.value != shown.value) {
        SendMessageW(window, TBM_SETPOS, TRUE, control.value);
        shown.value = control.value;
      }
      break;
    case ControlKind::kTabStrip:
      if (control.lines != shown.lines) {
        SendMessageW(window, TCM_DELETEALLITEMS, 0, 0);
        for (std::size_t index = 0; index < control.lines.size(); ++index) {
          std::wstring text = Widen(control.lines[index]);
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = text.data();
          SendMessageW(window, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
        }
        shown.lines = control.lines;
        shown.value = -1;
      }
      if (control.value != shown.value) {
        SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(control.value - 1), 0);
        shown.value = control.value;
      }
      break;
    default:
      break;
  }
}

void FormView::SyncFormWindow() {
  if (form_.caption != caption_shown_) {
    SetWindowTextW(window_, Widen(form_.caption).c_str());
    caption_shown_ = form_.caption;
  }
  // The form's size is its inside; the frame comes around it, from the form's position on.
  RECT rect{0, 0, std::max(0, TwipsToPixels(form_.width, dpi_x_)),
            std::max(0, TwipsToPixels(form_.height, dpi_y_))};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  OffsetRect(&rect, TwipsToPixels(form_.left, dpi_x_) - rect.left,
             TwipsToPixels(form_.top, dpi_y_) - rect.top);
  if (!SameRect(rect, form_rect_shown_)) {
    MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    form_rect_shown_ = rect;
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
  HWND window = shown.window;
  int column_width = std::max(0, TwipsToPixels(list.column_width, dpi_x_));
  if (column_width != shown.column_width) {
    SendMessageW(window, LVM_SETCOLUMNWIDTH, 0, column_width);
    shown.column_width = column_width;
  }
  ListWatch::Ranges ranges;
  if (!shown.watch) {
    shown.watch = std::make_unique<ListWatch>(list);
    if (list.size() > 0) ranges.emplace_back(0, list.size() - 1);
  } else {
    ranges = shown.watch->TakeRanges();
  }
  if (list.size() != shown.item_count) {
    SendMessageW(window, LVM_SETITEMCOUNT, list.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    shown.item_count = list.size();
  }
  // The window keeps the selection itself, by position: the changed items' states are set anew.
  for (auto [first, last] : ranges) {
    for (std::size_t index = first; index <= last && index < list.size(); ++index) {
      const bool selected = list.items()[index].selected;
      const auto position = static_cast<int>(index);
      if (selected != (SendMessageW(window, LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0)) {
        SetItemState(window, position, selected);
      }
    }
    SendMessageW(window, LVM_REDRAWITEMS, first, last);
  }
}

// The user's selection reaches the list; only items whose state differs are changed, so that a
// click that clears a long selection touches just the items that were selected.
void FormView::SelectRange(ListView& list, std::size_t first, std::size_t end, bool selected) {
  for (std::size_t index = first; index < std::min(end, list.size()); ++index) {
    if (list.items()[index].selected != selected) list.SetSelected(index, selected);
  }
}

void FormView::ParkHosted() {
  for (auto& [control, shown] : shown_) {
    if (!shown.hosted) continue;
    try {
      shown.hosted->Show(false);
      shown.hosted->Place(hosted_->parking(), RECT{0, 0, 0, 0});
    } catch (...) {
      // A control that cannot move goes with the window; the view tries the others.
    }
  }
}

}  // namespace windlock::win32
