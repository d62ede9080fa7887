#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "backends/win32/call_depth.h"
#include "backends/win32/gdi.h"
#include "backends/win32/hosted_control.h"
#include "forms/form.h"

namespace windlock::win32 {

// Shows a form in a window of its own: a child window for each of its controls (frames hold
// theirs), the hosted controls placed where their controls lie, twips turned into pixels at the
// screen's DPI. The form's state is mirrored into the windows once the event the thread is
// handling is done (ScheduleFormViewSync), so a layout that moves twenty controls moves each
// window once; the user's actions on the windows reach the form's handlers. The view lives as
// long as the window; the form destroys the window before it goes.
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

  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

 private:
  // What a control's window shows now, to change only what the form changed.
  struct Shown {
    HWND window = nullptr;
    HostedControl* hosted = nullptr;
    RECT rect{-1, -1, -1, -1};
    std::string caption;
    std::string text;
    std::vector<std::string> lines;
    int list_index = -2;
    int minimum = 0;
    int maximum = -1;
    bool visible = false;
    bool enabled = true;
    int value = -1;
    int column_width = -1;
    // What changed in a list view since the window last showed it, and how many items it shows.
    std::unique_ptr<ListWatch> watch;
    std::size_t item_count = 0;
    // The control's own font, when it has one.
    OwnedFont font;
  };

  FormView(Form& form, HWND window, HostedControls* hosted, bool modal);
  ~FormView();

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Messages a control window sends its parent, the form or a frame; true when handled.
  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  LRESULT HandleFormMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void HandleListNotice(Control& control, NMHDR& notice);
  static void SelectRange(ListView& list, std::size_t first, std::size_t end, bool selected);
  bool HandleCommand(Control& control, WORD code, HWND window);
  // Runs a handler of the form: nothing it throws reaches user32, and the view outlives it
  // even when the handler destroys the window.
  template <typename Handler>
  void Dispatch(Handler&& handler);

  void RequestSync() noexcept;
  void Sync();
  Shown& ShownFor(Control& control);
  HWND CreateControlWindow(Control& control, HWND parent, int id);
  HWND ContainerWindow(const Control& control);
  void PutTabStripsUnderPages();
  void KeepKeyboardInView();
  RECT PixelRect(const Control& control) const;
  void SyncWindow(Control& control, Shown& shown);
  void SyncHosted(Control& control, Shown& shown);
  void SyncList(ListView& list, Shown& shown);
  void SyncKindState(Control& control, Shown& shown);
  void SyncFormWindow();
  Control* ControlWithId(int id);
  // Gives the hosted controls back to their waiting window before the windows they are in go.
  void ParkHosted();

  Form& form_;
  HWND window_;
  // None for a modal form, which hosts no platform controls.
  HostedControls* hosted_;
  bool modal_;
  std::string caption_shown_;
  RECT form_rect_shown_{-1, -1, -1, -1};
  OwnedFont font_;
  int dpi_x_;
  int dpi_y_;
  std::unordered_map<const Control*, Shown> shown_;
  bool sync_posted_ = false;
  bool syncing_ = false;
  bool windows_made_ = false;
  bool activated_ = false;
  int busy_ = 0;
  bool window_gone_ = false;
  FormView* next_ = nullptr;

  friend void ScheduleFormViewSync() noexcept;
};

// Brings every form window of the calling thread up to date with its form, once the message the
// thread is handling now is done.
void ScheduleFormViewSync() noexcept;

// Spans a call from Windows into the core (a COM method, a browser's event, a script's call, a
// timer's tick, a window's message): the form windows are brought up to date when it ends, and
// objects let go meanwhile outlive it.
class CoreCall {
 public:
  CoreCall() = default;
  ~CoreCall() { ScheduleFormViewSync(); }
  CoreCall(const CoreCall&) = delete;
  CoreCall& operator=(const CoreCall&) = delete;

 private:
  CallDepth depth_;
};

}  // namespace windlock::win32
