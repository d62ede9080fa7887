#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "forms/form.h"

namespace windlock::win32 {

// What screen readers are told of a window of this thread: its client object is the standard
// one the system makes for its class, but for the name `name` and, unless `role` is 0, the role
// `role` (a ROLE_SYSTEM_ value). The window answers WM_GETOBJECT itself, so that the name reaches
// every client (AccessibleObjectFromWindow, UI Automation's MSAA proxy) on every Windows and on
// Wine, whose oleacc has no annotation service. Called again, it changes what is told.
void SetAccessibleName(HWND window, const std::wstring& name, LONG role = 0);

// What a window tells screen readers of itself: a name and, unless 0, a role (a ROLE_SYSTEM_
// value).
struct Told {
  std::wstring name;
  LONG role = 0;
};

// A window's answer to WM_GETOBJECT when it tells `told`: the standard client object the system
// makes for its class, but for the name and the role; none for the other objects, which the
// window's default handling answers. For a window of the DLL's own, which needs no subclass.
std::optional<LRESULT> AnswerGetObject(HWND window, const Told& told, WPARAM wparam, LPARAM lparam);

// What a form's window tells: the form's accessible name, and for an alert the role of one.
Told FormTold(const Form& form);

// Screen readers read a notice from `parent`, a window of this thread, out of a window of no
// size inside it made for that, which Announce names `text` with the role of an alert before it
// raises the alert event.
HWND MakeAnnouncementWindow(HWND parent);
void Announce(HWND announcement, const std::wstring& text);

}  // namespace windlock::win32
