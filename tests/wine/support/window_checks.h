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

// Every visible window below `window` lies inside its parent's client area, but for what is
// parked out of sight to the left (an options page not shown) and a list view's own parts.
void ExpectChildrenInside(HWND window);
// Every caption of a button, check box or label in view fits it in its own font, with room for
// the box or the button's edges; a label's may take several lines (an ampersand marks the access
// key and takes no room, as DrawText measures it).
void ExpectCaptionsFit(HWND window);

}  // namespace windlock_test
