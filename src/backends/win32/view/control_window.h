#pragma once

#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "backends/win32/view/gdi.h"
#include "backends/win32/view/window_dpi.h"
#include "forms/form.h"

namespace windlock::win32 {

// Where a control's window is made: its parent (the form's window or a frame's), its id there,
// and the font the form's windows show.
struct ChildPlace {
  HWND parent;
  int id;
  HFONT font;
};

// A control's own window, and what it shows now, so that a sync changes only what the form
// changed. Each kind of control has one of its own that knows how its state reaches the window
// and how the user's changes come back.
class ControlWindow {
 public:
  // What the user did, for the form view to hand to the form; empty when nothing is to be done.
  using Action = std::function<void()>;

  explicit ControlWindow(HWND window) : window_(window) {}
  virtual ~ControlWindow() = default;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  HWND window() const { return window_; }

  // Mirrors the control into its window, placed at `rect` (pixels in its parent) at `dpi`, in its
  // own font or else `form_font`.
  void Sync(Control& control, const RECT& rect, Dpi dpi, HFONT form_font);

  // A WM_COMMAND notification the window sent. A click (BN_CLICKED, a label's STN_CLICKED, which
  // has the same number) is the control's Click for every kind.
  virtual Action Command(Control& control, WORD code);
  // A WM_NOTIFY notification the window sent.
  virtual Action Notify(Control&, NMHDR&) { return {}; }
  // A WM_HSCROLL the window sent.
  virtual Action Scroll(Control&) { return {}; }
  // When the window holds changes back for a later sync (a list in a storm of changes), how many
  // milliseconds from now it is to come.
  virtual std::optional<DWORD> Waiting() const { return std::nullopt; }

 protected:
  // The state only this kind has: a check, a text, lines, a range.
  virtual void SyncState(Control&, Dpi) {}
  // A text box's caption is its text, which SyncState keeps.
  virtual bool ShowsCaption() const { return true; }
  // Where the window goes for the control's `rect`.
  virtual RECT Placed(const RECT& rect) const { return rect; }
  // The font the window shows now.
  HFONT font() const { return font_shown_; }

 private:
  HWND window_;
  RECT rect_{-1, -1, -1, -1};
  std::string caption_;
  std::string accessible_name_;
  bool visible_ = false;
  bool enabled_ = true;
  // The control's own font, when it has one, and the DPI it was made for.
  OwnedFont font_;
  int font_dpi_ = 0;
  HFONT font_shown_ = nullptr;
};

// Makes a child window of `window_class` at `place`, hidden, in the form's font.
HWND CreateChildWindow(const wchar_t* window_class, DWORD style, DWORD extended,
                       const ChildPlace& place);

// The window a control of this kind is shown in; none for a kind that shows a hosted control
// (a browser, an animation) instead.
std::unique_ptr<ControlWindow> MakeControlWindow(Control& control, const Form& form,
                                                 const ChildPlace& place);

}  // namespace windlock::win32
