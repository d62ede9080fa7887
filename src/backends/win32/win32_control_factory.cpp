#include "backends/win32/win32_control_factory.h"

#include "backends/win32/win32_animation.h"
#include "backends/win32/win32_browser_customizer.h"
#include "backends/win32/win32_preview_control.h"
#include "backends/win32/win32_skin_browser.h"
#include "backends/win32/win32_sound_device.h"

namespace windlock::win32 {

std::unique_ptr<PreviewControl> Win32ControlFactory::CreatePreviewControl(const Control& holder) {
  return std::make_unique<Win32PreviewControl>(hosted_, holder);
}

std::unique_ptr<Browser> Win32ControlFactory::CreateSkinBrowser(const Control& holder) {
  return std::make_unique<Win32SkinBrowser>(std::make_unique<BrowserPane>(hosted_, holder));
}

std::unique_ptr<SoundDevice> Win32ControlFactory::CreateSoundDevice() {
  return std::make_unique<Win32SoundDevice>();
}

std::unique_ptr<BrowserCustomizer> Win32ControlFactory::CreateBrowserCustomizer() {
  return std::make_unique<Win32BrowserCustomizer>();
}

std::unique_ptr<Animation> Win32ControlFactory::CreateAnimation(const Control& holder) {
  return std::make_unique<Win32Animation>(hosted_, holder);
}

}  // namespace windlock::win32
