#pragma once

#include <windows.h>

#include "backends/win32/browser/script_dispatch.h"
#include "backends/win32/com/com_ptr.h"
#include "backends/win32/win32_skin_browser.h"
#include "platform/control_factory.h"

namespace windlock::win32 {

// Gives the skin browser's pages the form's script bridge as window.external, through the
// hosted control's IDocHostUIHandler::GetExternal.
class Win32BrowserCustomizer : public BrowserCustomizer {
 public:
  ~Win32BrowserCustomizer() override;
  void SetBrowser(Browser* browser) override;
  void SetExternal(ScriptExternal* external) override;
  void SetOption(bool on) override { option_ = on; }

 private:
  void Connect();
  void Disconnect();

  Win32SkinBrowser* browser_ = nullptr;
  ScriptExternal* external_ = nullptr;
  ComPtr<ScriptDispatch> dispatch_;
  bool option_ = false;
};

}  // namespace windlock::win32
