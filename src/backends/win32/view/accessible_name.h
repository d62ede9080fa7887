#pragma once

#include <windows.h>

#include <string>

#include "forms/form.h"

namespace windlock::win32 {

// What screen readers are told of a window of this thread: its client object is the standard
// one the system makes for its class, but for the name `name` and, unless `role` is 0, the role
// `role` (a ROLE_SYSTEM_ value). The window answers WM_GETOBJECT itself, so that the name reaches
// every client (AccessibleObjectFromWindow, UI Automation's MSAA proxy) on every Windows and on
// Wine, whose oleacc has no annotation service. Called again, it changes what is told.
void SetAccessibleName(HWND window, const std::wstring& name, LONG role = 0);

// Names a form's window with the form's accessible name, and gives an alert the role of one.
void SetFormAccessibleName(HWND window, const Form& form);

// Screen readers read `text` out as a notice from `parent`, a window of this thread: a window
// of no size inside it, named `text` with the role of an alert, raises the alert event.
void AnnounceIn(HWND parent, const std::wstring& text);

}  // namespace windlock::win32
