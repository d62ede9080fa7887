#include "backends/win32/view/form_view.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/view/accessible_name.h"
#include "common/scope_exit.h"
#include "common/twips.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kFormClass = L"WindlockForm";
constexpr UINT kSyncMessage = WM_APP + 1;
constexpr UINT kActivateMessage = WM_APP + 2;
// The sync message's wParam when the timer posted it.
constexpr WPARAM kTimedSync = 1;
// A sync follows the one before by at least a screen frame. In a storm of changes (a page that
// opens windows in a loop, each capture two turns of the browser's loop) the windows follow once
// a frame, not once a turn; a change after a quiet spell is shown at once.
constexpr DWORD kSyncSpacing = 16;
// A timed sync this late lost its message (a full queue) and is set again.
constexpr DWORD kLongOverdue = 1000;
constexpr int kFirstControlId = 1000;
// Sent by Windows 10 1607 on, whose headers alone declare it.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The views of this thread, newest first. A plain pointer: a thread_local object with a
// destructor would outlive the module on a browser thread that unloads it.
thread_local FormView* t_first_view = nullptr;

}  // namespace

HWND FormView::CreateWindowFor(Form& form, HostedControls& hosted) {
  RegisterModuleClass(kFormClass, FormProc, true);
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
  const bool framed = form.border == Form::Border::kFixedDialog;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN | (framed ? WS_CAPTION | WS_SYSMENU : WS_BORDER);
  DWORD extended = framed ? WS_EX_DLGMODALFRAME : WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  HWND window = CreateWindowExW(extended, kFormClass, Widen(form.caption).c_str(), style, 0, 0, 0,
                                0, owner, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  auto* view = new FormView(form, window, nullptr, true);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  // A window that cannot be made yet keeps the form's last state; the next sync tries again.
  GuardedCall([view] { view->Sync(); }, AfterCall::kNothing);
  return window;
}

FormView::FormView(Form& form, HWND window, HostedControls* hosted, bool modal)
    : form_(form),
      window_(window),
      hosted_(hosted),
      modal_(modal),
      dpi_(WindowDpi(window)),
      font_(MessageFont(dpi_.y)) {
  next_ = t_first_view;
  // The form windows are brought up to date after every call from Windows.
  SetShowChanges(&ScheduleFormViewSync);
  t_first_view = this;
}

FormView::~FormView() {
  if (timer_) {
    // No callback may post to a window that may be another's by now, or run once the module is
    // gone.
    SetThreadpoolTimer(timer_, nullptr, 0, 0);
    WaitForThreadpoolTimerCallbacks(timer_, TRUE);
    CloseThreadpoolTimer(timer_);
  }
  for (FormView** link = &t_first_view; *link; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      break;
    }
  }
}

void FormView::Announce(const Form& form, const std::wstring& text) {
  for (FormView* view = t_first_view; view; view = view->next_) {
    if (&view->form_ != &form || view->window_gone_) continue;
    if (!view->announcement_) view->announcement_ = MakeAnnouncementWindow(view->window_);
    win32::Announce(view->announcement_, text);
    return;
  }
}

void ScheduleFormViewSync() noexcept {
  for (FormView* view = t_first_view; view; view = view->next_) view->RequestSync();
}

void FormView::RequestSync() noexcept {
  if (sync_posted_ || window_gone_) return;
  const DWORD since = GetTickCount() - synced_at_.value_or(0);
  if (synced_at_ && since < kSyncSpacing) {
    SyncIn(kSyncSpacing - since);
    return;
  }
  sync_posted_ = PostMessageW(window_, kSyncMessage, 0, 0) != FALSE;
}

// A timer of the thread pool posts the sync, which so comes as soon as the thread's posted
// messages before it are done. The window's own timer would not do: Windows makes its message
// only when no posted message waits, which in a busy browser's thread may be never.
void FormView::SyncIn(DWORD milliseconds) noexcept {
  const DWORD now = GetTickCount();
  const DWORD due = now + milliseconds;
  // A timer due sooner stays: its sync shows this too.
  if (sync_due_ && static_cast<LONG>(due - *sync_due_) >= 0 &&
      static_cast<LONG>(now - *sync_due_) < static_cast<LONG>(kLongOverdue)) {
    return;
  }
  if (!timer_) timer_ = CreateThreadpoolTimer(&PostTimedSync, window_, nullptr);
  if (!timer_) {
    sync_posted_ = PostMessageW(window_, kSyncMessage, 0, 0) != FALSE;
    return;
  }
  // Relative, in units of 100 ns.
  const LONGLONG relative = -static_cast<LONGLONG>(milliseconds) * 10000;
  FILETIME when{static_cast<DWORD>(relative), static_cast<DWORD>(relative >> 32)};
  SetThreadpoolTimer(timer_, &when, 0, 0);
  sync_due_ = due;
}

void CALLBACK FormView::PostTimedSync(PTP_CALLBACK_INSTANCE, void* window, PTP_TIMER) noexcept {
  GuardedCall([window] { PostMessageW(static_cast<HWND>(window), kSyncMessage, kTimedSync, 0); },
              AfterCall::kNothing);
}

void FormView::Dispatch(const std::function<void()>& handler, AfterCall after) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  ++busy_;
  GuardedCall(handler, after);
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

LRESULT CALLBACK FormView::FormProc(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept {
  // The form's handlers bring the windows up to date themselves; a paint or a mouse move must not.
  return GuardedMessage(
      [&] {
        auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!view) return DefWindowProcW(window, message, wparam, lparam);
        return view->HandleFormMessage(message, wparam, lparam);
      },
      0, AfterCall::kNothing);
}

LRESULT FormView::HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (HandleControlMessage(message, wparam, lparam, result)) return result;
  switch (message) {
    case kSyncMessage:
      if (wparam == kTimedSync) {
        sync_due_.reset();
      } else {
        sync_posted_ = false;
      }
      // A sync must not ask for another.
      Dispatch([this] { Sync(); }, AfterCall::kNothing);
      return 0;
    case WM_GETOBJECT:
      // A form without a name of its own is named by its caption, as the standard object is.
      if (form_.accessible_name.empty()) break;
      if (auto answer = AnswerGetObject(window_, FormTold(form_), wparam, lparam)) return *answer;
      break;
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
    case WM_SIZE:
      // A window placed in one of another DPI (the band's, once the bar is put into it) is sized
      // there.
      FollowDpi();
      TellFormItsSize();
      return 0;
    case WM_DPICHANGED:
    case kDpiChangedAfterParent:
      // Moved to a screen of another DPI, or its parent was: laid out again at that DPI. A modal
      // form keeps its place in twips rather than the rectangle Windows suggests.
      if (FollowDpi()) {
        TellFormItsSize();
        RequestSync();
      }
      return 0;
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
      Dispatch([this] { ParkHosted(); }, AfterCall::kNothing);
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

bool FormView::HandleControlMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  // What the windows report of their own while the view changes them is no user's doing.
  switch (message) {
    case WM_COMMAND: {
      Control* control = ControlWithId(LOWORD(wparam));
      if (!control || syncing_) return false;
      ControlWindow* shown = WindowOf(*control);
      if (!shown) return false;
      if (auto action = shown->Command(*control, HIWORD(wparam))) Dispatch(action);
      result = 0;
      return true;
    }
    case WM_HSCROLL: {
      Control* control = ControlWithId(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)));
      if (!control || syncing_) return false;
      ControlWindow* shown = WindowOf(*control);
      if (!shown) return false;
      if (auto action = shown->Scroll(*control)) Dispatch(action);
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto& notice = *reinterpret_cast<NMHDR*>(lparam);
      Control* control = ControlWithId(static_cast<int>(notice.idFrom));
      if (!control) return false;
      ControlWindow* shown = WindowOf(*control);
      if (!shown) return false;
      // A list view asks for its items' texts also while the view changes it.
      auto action = shown->Notify(*control, notice);
      if (action && !syncing_) Dispatch(action);
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

ControlWindow* FormView::WindowOf(const Control& control) {
  auto found = shown_.find(&control);
  return found == shown_.end() ? nullptr : found->second.window.get();
}

Control* FormView::ControlWithId(int id) {
  const auto& controls = form_.controls();
  std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
  if (id < kFirstControlId || index >= controls.size()) return nullptr;
  return controls[index].get();
}

bool FormView::FollowDpi() {
  Dpi now = WindowDpi(window_);
  if (now == dpi_) return false;
  dpi_ = now;
  font_ = MessageFont(dpi_.y);
  return true;
}

void FormView::TellFormItsSize() {
  // A modal form sizes its window itself; only a placed window tells its form its size.
  if (modal_) return;
  RECT client{};
  GetClientRect(window_, &client);
  float width = PixelsToTwips(client.right, dpi_.x);
  float height = PixelsToTwips(client.bottom, dpi_.y);
  Dispatch([this, width, height] { form_.Resize(width, height); });
}

void FormView::Sync() {
  if (window_gone_ || syncing_) return;
  syncing_ = true;
  synced_at_ = GetTickCount();
  // Reset however the sync ends: a window that cannot be made or moved keeps its last state, and
  // the next sync tries again.
  ScopeExit end([this] { syncing_ = false; });
  if (modal_) FollowDpi();
  if (modal_) SyncFormWindow();
  if (form_.accessible_name != accessible_name_shown_) {
    accessible_name_shown_ = form_.accessible_name;
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
  }
  windows_made_ = false;
  std::optional<DWORD> later;
  for (const auto& control : form_.controls()) {
    Shown& shown = ShownFor(*control);
    if (shown.hosted) {
      SyncHosted(*control, shown);
    } else if (shown.window) {
      shown.window->Sync(*control, PixelRect(*control), dpi_, font_.get());
      if (auto wait = shown.window->Waiting()) later = std::min(*wait, later.value_or(*wait));
    }
  }
  if (later) SyncIn(*later);
  if (windows_made_) PutTabStripsUnderPages();
  if (modal_) KeepKeyboardInView();
}

FormView::Shown& FormView::ShownFor(Control& control) {
  auto found = shown_.find(&control);
  if (found != shown_.end()) return found->second;
  Shown shown;
  if (HostedControl* hosted = hosted_ ? hosted_->Find(control) : nullptr) {
    shown.hosted = hosted;
    if (!control.accessible_name.empty()) {
      SetAccessibleName(hosted->window(), Widen(control.accessible_name));
    }
  } else {
    const auto& controls = form_.controls();
    auto position = std::find_if(controls.begin(), controls.end(),
                                 [&](const auto& each) { return each.get() == &control; });
    int id = kFirstControlId + static_cast<int>(position - controls.begin());
    shown.window = MakeControlWindow(control, form_, {ContainerWindow(control), id, font_.get()});
    if (shown.window) windows_made_ = true;
  }
  return shown_.emplace(&control, std::move(shown)).first->second;
}

HWND FormView::ContainerWindow(const Control& control) {
  if (!control.container) return window_;
  Shown& container = ShownFor(*control.container);
  return container.window ? container.window->window() : window_;
}

// Windows are made in the form's order, which is also the Tab order; a tab strip made before its
// pages would cover them, so it goes to the bottom, under everything it shares the form with.
void FormView::PutTabStripsUnderPages() {
  for (auto& [control, shown] : shown_) {
    if (control->kind() == ControlKind::kTabStrip && shown.window) {
      SetWindowPos(shown.window->window(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
  int left = TwipsToPixels(control.left, dpi_.x);
  int top = TwipsToPixels(control.top, dpi_.y);
  // A form too small for its layout gives some controls no room, never a negative size.
  int width = std::max(0, TwipsToPixels(control.width, dpi_.x));
  int height = std::max(0, TwipsToPixels(control.height, dpi_.y));
  return RECT{left, top, left + width, top + height};
}

void FormView::SyncFormWindow() {
  if (form_.caption != caption_shown_) {
    SetWindowTextW(window_, Widen(form_.caption).c_str());
    caption_shown_ = form_.caption;
  }
  // The form's size is its inside; the frame comes around it, from the form's position on.
  RECT rect{0, 0, std::max(0, TwipsToPixels(form_.width, dpi_.x)),
            std::max(0, TwipsToPixels(form_.height, dpi_.y))};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  OffsetRect(&rect, TwipsToPixels(form_.left, dpi_.x) - rect.left,
             TwipsToPixels(form_.top, dpi_.y) - rect.top);
  if (!EqualRect(&rect, &form_rect_shown_)) {
    MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    form_rect_shown_ = rect;
  }
}

void FormView::SyncHosted(Control& control, Shown& shown) {
  RECT rect = PixelRect(control);
  if (!EqualRect(&rect, &shown.rect)) {
    shown.hosted->Place(ContainerWindow(control), rect);
    shown.rect = rect;
  }
  if (control.visible != shown.visible) {
    shown.hosted->Show(control.visible);
    shown.visible = control.visible;
  }
}

void FormView::ParkHosted() {
  for (auto& [control, shown] : shown_) {
    if (!shown.hosted) continue;
    // A control that cannot move goes with the window; the view tries the others.
    GuardedCall(
        [&] {
          shown.hosted->Show(false);
          shown.hosted->Place(hosted_->parking(), RECT{0, 0, 0, 0});
        },
        AfterCall::kNothing);
  }
}

}  // namespace windlock::win32
