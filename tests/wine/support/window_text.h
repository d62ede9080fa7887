#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

// A window's class name and its text (a button's caption, a dialog's title).
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

}  // namespace windlock_test
