#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace windlock_test {

// A window's class name and its text (a button's caption, a dialog's title), also of another
// process's controls.
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

// Every window below `window`, children's children included, in Z order.
std::vector<HWND> Descendants(HWND window);
// The first descendant of that class (any, when empty) whose text starts with `text`.
HWND FindDescendant(HWND window, const std::wstring& window_class, const std::wstring& text = {});
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
// Whether a control shows within the window's client area on the screen.
bool ShowsInside(HWND control, HWND window);

// What a screen reader is told of a window: its client object's name ("" when it has none) and
// role (0 when there is no object).
std::wstring AccessibleNameOf(HWND window);
LONG AccessibleRoleOf(HWND window);
// Every control of a form shown in `window` (each window whose parent is the form's or a frame's
// window, browser panes included, not their insides) has a name to be read out.
void ExpectEveryControlNamed(HWND window);

// Every visible window below `window` lies inside its parent's client area, but for what is
// parked out of sight to the left (an options page not shown) and a list view's own parts.
void ExpectChildrenInside(HWND window);
// Every caption of a button, check box or label in view fits it in its own font, with room for
// the box or the button's edges; a label's may take several lines (an ampersand marks the access
// key and takes no room, as DrawText measures it).
void ExpectCaptionsFit(HWND window);

}  // namespace windlock_test
