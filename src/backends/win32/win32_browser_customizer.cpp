#include "backends/win32/win32_browser_customizer.h"

namespace windlock::win32 {

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

}  // namespace windlock::win32
