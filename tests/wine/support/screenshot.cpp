#include "support/screenshot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/dll_under_test.h"
#include "support/png.h"

namespace windlock_test {
namespace {

// The window's pixels as RGB rows, top to bottom; empty when they cannot be read.
std::vector<uint8_t> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  std::vector<uint8_t> rgb;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  // Negative: the rows go top to bottom.
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && dib) {
    HGDIOBJ previous = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT)) {
      GdiFlush();
      // DIB rows are padded to four bytes and hold blue, green, red.
      const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
      const auto* source = static_cast<const uint8_t*>(bits);
      rgb.reserve(static_cast<std::size_t>(width) * height * 3);
      for (int y = 0; y < height; ++y) {
        const uint8_t* row = source + y * stride;
        for (int x = 0; x < width; ++x) {
          rgb.insert(rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
        }
      }
    }
    SelectObject(memory, previous);
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return rgb;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
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
  // the pixels are read until two readings agree.
  std::vector<uint8_t> rgb = ScreenPixels(rect);
  for (int reading = 0; reading < 20; ++reading) {
    Sleep(60);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    std::vector<uint8_t> again = ScreenPixels(rect);
    if (again == rgb) break;
    rgb = std::move(again);
  }
  if (rgb.empty()) {
    ADD_FAILURE() << "the screen's pixels could not be read for " << Narrow(png_path);
    return;
  }
  const auto width = static_cast<uint32_t>(rect.right - rect.left);
  const auto height = static_cast<uint32_t>(rect.bottom - rect.top);
  if (!WriteFileBytes(png_path, EncodePng(width, height, rgb))) {
    ADD_FAILURE() << "cannot write " << Narrow(png_path) << ", error " << GetLastError();
  }
}

std::wstring ScreenshotPath(const char* name) {
  const std::wstring folder = WindowsPath(WINDLOCK_SCREENSHOT_DIR);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\" + Widen(name);
}

}  // namespace windlock_test
