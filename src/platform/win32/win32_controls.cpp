#include "platform/win32/win32_controls.h"

#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {
namespace {

ComPtr<IWebBrowser2> NewWebBrowser() {
  ComPtr<IWebBrowser2> browser;
  ThrowIfFailed(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                                 browser.PutVoid()));
  return browser;
}

}  // namespace

Win32PreviewControl::Win32PreviewControl() : browser_(NewWebBrowser()) {}

std::unique_ptr<PreviewControl> Win32ControlFactory::CreatePreviewControl() {
  return std::make_unique<Win32PreviewControl>();
}

std::unique_ptr<Browser> Win32ControlFactory::CreateSkinBrowser() {
  return std::make_unique<Win32Browser>(NewWebBrowser());
}

std::unique_ptr<SoundDevice> Win32ControlFactory::CreateSoundDevice() {
  return std::make_unique<Win32SoundDevice>();
}

std::unique_ptr<BrowserCustomizer> Win32ControlFactory::CreateBrowserCustomizer() {
  return std::make_unique<Win32BrowserCustomizer>();
}

std::unique_ptr<Animation> Win32ControlFactory::CreateAnimation() {
  return std::make_unique<Win32Animation>();
}

}  // namespace windlock::win32
