#include "backends/win32/win32_controls.h"

#include "backends/win32/win32_animation.h"
#include "backends/win32/win32_devices.h"

namespace windlock::win32 {

BrowserPane::BrowserPane(HostedControls& registry, const Control& holder)
    : host_(registry.parking(), RECT{0, 0, 0, 0}), registration_(registry, holder, *this) {}

Win32PreviewControl::Win32PreviewControl(HostedControls& registry, const Control& holder)
    : pane_(registry, holder), browser_(pane_.host().browser()) {}

Win32SkinBrowser::Win32SkinBrowser(std::unique_ptr<BrowserPane> pane)
    : Win32Browser(pane->host().browser()), pane_(std::move(pane)) {}

Win32BrowserCustomizer::~Win32BrowserCustomizer() {
  Disconnect();
}

void Win32BrowserCustomizer::SetBrowser(Browser* browser) {
  Disconnect();
  // Only the skin browser's site can hand pages an object of ours.
  browser_ = dynamic_cast<Win32SkinBrowser*>(browser);
  Connect();
}

void Win32BrowserCustomizer::SetExternal(ScriptExternal* external) {
  Disconnect();
  external_ = external;
  Connect();
}

void Win32BrowserCustomizer::Connect() {
  if (!browser_ || !external_) return;
  dispatch_ = ScriptDispatch::Make(*external_);
  browser_->pane().host().SetExternal(ComPtr<IDispatch>::Share(dispatch_.get()));
}

void Win32BrowserCustomizer::Disconnect() {
  if (!dispatch_) return;
  // A page may keep window.external after the bar let it go: its calls then fail.
  dispatch_->Disconnect();
  dispatch_.Reset();
  if (browser_) browser_->pane().host().SetExternal(nullptr);
}

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
