#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

// Saves what the screen shows of `window` (its whole rectangle, frame included) as a PNG file,
// after painting the window and its children afresh. The pixels come from the screen, not from
// the window (under Wine PrintWindow gives only the background), so the window should be on top;
// it may belong to another process. Fails the running test when the pixels cannot be read or the
// file cannot be written.
void SaveWindowScreenshot(HWND window, const std::wstring& png_path);

// `<build folder>/screenshots/<name>` as a Windows path; the folder is made when missing.
std::wstring ScreenshotPath(const char* name);

}  // namespace windlock_test
