#include "support/screenshot.h"

#include <gdiplus.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/dll_under_test.h"

namespace windlock_test {
namespace {

// GDI+'s PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// What the screen shows of a rectangle at one moment, and its pixels to compare readings by.
struct Reading {
  HBITMAP bitmap = nullptr;
  std::vector<char> pixels;
};

Reading ReadScreen(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  Reading reading{CreateCompatibleBitmap(screen, width, height), {}};
  HGDIOBJ previous = SelectObject(memory, reading.bitmap);
  if (!BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT)) {
    ADD_FAILURE() << "the screen's pixels could not be read, error " << GetLastError();
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAP shape{};
  GetObjectW(reading.bitmap, sizeof shape, &shape);
  reading.pixels.resize(static_cast<std::size_t>(shape.bmWidthBytes) * shape.bmHeight);
  GetBitmapBits(reading.bitmap, static_cast<LONG>(reading.pixels.size()), reading.pixels.data());
  return reading;
}

}  // namespace

void SaveWindowScreenshot(HWND window, const std::wstring& png_path) {
  RECT rect = {};
  if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) {
    ADD_FAILURE() << "no window to take a screenshot of for " << Narrow(png_path);
    return;
  }
  // Painted now, children included, so that no part waits for a paint still to come.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Wine paints into a surface of its own and hands it to the X server a little later, when the
  // thread looks for messages while idle; read too early, the screen misses some controls. So
  // the pixels are read until three readings in a row agree.
  Reading reading = ReadScreen(rect);
  for (int attempt = 0, agreeing = 0; attempt < 30 && agreeing < 2; ++attempt) {
    Sleep(60);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    // Painted afresh each time: a part the window's own timers erased since comes back.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Reading again = ReadScreen(rect);
    agreeing = again.pixels == reading.pixels ? agreeing + 1 : 0;
    DeleteObject(reading.bitmap);
    reading = std::move(again);
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
  {
    Gdiplus::Bitmap image(reading.bitmap, nullptr);
    EXPECT_EQ(Gdiplus::Ok, image.Save(png_path.c_str(), &kPngEncoder, nullptr))
        << "cannot write " << Narrow(png_path);
  }
  Gdiplus::GdiplusShutdown(token);
  DeleteObject(reading.bitmap);
}

std::wstring ScreenshotPath(const char* name) {
  const std::wstring folder = WindowsPath(WINDLOCK_SCREENSHOT_DIR);
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring file = Widen(name);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // A run at another DPI keeps the usual pictures beside its own.
  if (dpi != 96) file.insert(file.rfind(L'.'), L"-" + std::to_wstring(dpi) + L"dpi");
  return folder + L"\\" + file;
}

}  // namespace windlock_test
