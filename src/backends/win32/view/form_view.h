#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/view/control_window.h"
#include "backends/win32/view/gdi.h"
#include "backends/win32/view/hosted_controls.h"
#include "backends/win32/view/window_dpi.h"
#include "forms/form.h"

namespace windlock::win32 {

// Shows a form in a window of its own: a child window for each of its controls (frames hold
// theirs), the hosted controls placed where their controls lie, twips turned into pixels at the
// DPI of the screen the window is on, laid out again when that changes. The form's state is
// mirrored into the windows once the event the thread is handling is done (ScheduleFormViewSync),
// so a layout that moves twenty controls moves each window once, and in a burst of events at most
// once a screen frame; the user's actions on the windows reach the form's handlers. The view lives
// as long as the window; the form destroys the window before it goes.
class FormView {
 public:
  // Makes the form's window, hidden, with the view attached: a window that something else
  // places (the bar's, in the band's window).
  static HWND CreateWindowFor(Form& form, HostedControls& hosted);
  // Makes a modal form's own top-level window, hidden, owned by `owner` (may be none), placed
  // and sized by the form itself.
  static HWND CreateModalWindowFor(Form& form, HWND owner);

  // Keys a modal form sees before its controls and the dialog manager (Ctrl+Tab); true when the
  // message was the form's.
  static bool TranslateFormKey(HWND window, const MSG& message);
  // The keyboard to the form's first control that takes it, as a dialog starts.
  static void FocusFirstControl(HWND window);
  // Screen readers read `text` out as a notice from the window that shows `form` on this thread;
  // a form that has no window now (a bar not yet shown) has nowhere to speak from.
  static void Announce(const Form& form, const std::wstring& text);

  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

 private:
  // How a control is shown: in a window of its own, or as a hosted control placed over it.
  struct Shown {
    std::unique_ptr<ControlWindow> window;
    HostedControl* hosted = nullptr;
    // The hosted control's place and visibility now.
    RECT rect{-1, -1, -1, -1};
    bool visible = false;
  };

  FormView(Form& form, HWND window, HostedControls* hosted, bool modal);
  ~FormView();

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam) noexcept;
  LRESULT HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // What the controls' windows report to the form's window (a frame's pass on); true when
  // `result` answers it.
  bool HandleControlMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // Runs a handler of the form, or the view's own work that reaches the hosted browsers (whose
  // page script may run inside), as a call of its own: what it throws ends it alone, and the
  // view and the form outlive it even when it destroys the window.
  void Dispatch(const std::function<void()>& handler, AfterCall after = AfterCall::kShowChanges);

  void RequestSync() noexcept;
  // Syncs in `milliseconds`, unless a sync is due sooner: a burst's later changes, and what a
  // window held back.
  void SyncIn(DWORD milliseconds) noexcept;
  static void CALLBACK PostTimedSync(PTP_CALLBACK_INSTANCE, void* window, PTP_TIMER) noexcept;
  // Takes the DPI the window is laid out for now, and the form's font at it; true when it
  // changed.
  bool FollowDpi();
  void TellFormItsSize();
  void Sync();
  Shown& ShownFor(Control& control);
  HWND ContainerWindow(const Control& control);
  void PutTabStripsUnderPages();
  void KeepKeyboardInView();
  RECT PixelRect(const Control& control) const;
  void SyncHosted(Control& control, Shown& shown);
  void SyncFormWindow();
  Control* ControlWithId(int id);
  // The window a control is shown in, when it has one yet.
  ControlWindow* WindowOf(const Control& control);
  // Gives the hosted controls back to their waiting window before the windows they are in go.
  void ParkHosted();

  Form& form_;
  HWND window_;
  // None for a modal form, which hosts no platform controls.
  HostedControls* hosted_;
  bool modal_;
  std::string caption_shown_;
  std::string accessible_name_shown_;
  RECT form_rect_shown_{-1, -1, -1, -1};
  Dpi dpi_;
  OwnedFont font_;
  std::unordered_map<const Control*, Shown> shown_;
  HWND announcement_ = nullptr;
  bool sync_posted_ = false;
  // When the last sync began.
  std::optional<DWORD> synced_at_;
  // The timer that posts a later sync, and when it is due while it is set.
  PTP_TIMER timer_ = nullptr;
  std::optional<DWORD> sync_due_;
  bool syncing_ = false;
  bool windows_made_ = false;
  bool activated_ = false;
  int busy_ = 0;
  bool window_gone_ = false;
  FormView* next_ = nullptr;

  friend void ScheduleFormViewSync() noexcept;
};

// Brings every form window of the calling thread up to date with its form, once the message the
// thread is handling now is done, or a frame after the last time when that was less than a frame
// ago.
void ScheduleFormViewSync() noexcept;

}  // namespace windlock::win32
