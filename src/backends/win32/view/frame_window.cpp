#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"
#include "backends/win32/view/control_kinds.h"
#include "common/scope_exit.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kFrameClass = L"WindlockFrame";

// A picture's bitmap stretched over the whole window, with halftone smoothing, so that it fills
// the control's place at any DPI.
void PaintPicture(HWND window, HBITMAP picture) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  ScopeExit end([&] { EndPaint(window, &paint); });
  MemoryDc source(CreateCompatibleDC(dc));
  BITMAP size{};
  if (!source || !GetObjectW(picture, sizeof size, &size)) return;
  HGDIOBJ previous = SelectObject(source.get(), picture);
  ScopeExit deselect([&] { SelectObject(source.get(), previous); });
  RECT client;
  GetClientRect(window, &client);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, size.bmWidth, size.bmHeight,
             SRCCOPY);
}

HBITMAP PictureOf(HWND window) {
  return reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The controls inside a frame are the form's own: what they report goes on to the form's
// window, which answers for all of them. A picture's window keeps its bitmap in its user data.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  return GuardedMessage(
      [&]() -> LRESULT {
        switch (message) {
          case WM_COMMAND:
          case WM_NOTIFY:
          case WM_HSCROLL:
          case WM_CTLCOLORSTATIC:
            return SendMessageW(GetParent(window), message, wparam, lparam);
          case WM_ERASEBKGND:
            // The picture covers all of it.
            if (PictureOf(window)) return 1;
            break;
          case WM_PAINT:
            if (HBITMAP picture = PictureOf(window)) {
              PaintPicture(window, picture);
              return 0;
            }
            break;
          default:
            break;
        }
        return DefWindowProcW(window, message, wparam, lparam);
      },
      0, AfterCall::kNothing);
}

// A picture control: a frame that shows the bitmap resource its control names, once loaded.
class PictureWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

 protected:
  void SyncState(Control& control, Dpi) override {
    if (control.picture == picture_name_) return;
    picture_name_ = control.picture;
    // A name the module has no bitmap for leaves the picture empty.
    OwnedBitmap loaded;
    if (!picture_name_.empty()) {
      loaded = OwnedBitmap(static_cast<HBITMAP>(LoadImageW(
          ModuleHandle(), Widen(picture_name_).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    SetWindowLongPtrW(window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(loaded.get()));
    picture_ = std::move(loaded);
    InvalidateRect(window(), nullptr, TRUE);
  }

 private:
  std::string picture_name_;
  OwnedBitmap picture_;
};

HWND CreateFrame(const ChildPlace& place) {
  RegisterModuleClass(kFrameClass, FrameProc, true);
  // Tab and the arrow keys go on into the controls inside.
  return CreateChildWindow(kFrameClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, place);
}

}  // namespace

std::unique_ptr<ControlWindow> MakeFrameWindow(const ChildPlace& place) {
  return std::make_unique<ControlWindow>(CreateFrame(place));
}

std::unique_ptr<ControlWindow> MakePictureWindow(const ChildPlace& place) {
  return std::make_unique<PictureWindow>(CreateFrame(place));
}

}  // namespace windlock::win32
