#pragma once

#include <string>
#include <vector>

#include "common/variant.h"
#include "platform/browser.h"

namespace windlock {

// What pages in the skin browser reach as window.external: methods called by name, arguments by
// reference. A failure reaches the script as an automation error.
class ScriptExternal {
 public:
  virtual ~ScriptExternal() = default;
  virtual Variant Invoke(const std::string& method, std::vector<Variant>& args) = 0;
};

// The browser customizer: gives pages of one browser a window.external. Real: the WebBrowser
// control site's IDocHostUIHandler::GetExternal (win32). Fake: SimBrowserCustomizer.
class BrowserCustomizer {
 public:
  virtual ~BrowserCustomizer() = default;
  // The browser served; none detaches.
  virtual void SetBrowser(Browser* browser) = 0;
  virtual void SetExternal(ScriptExternal* external) = 0;
  // The customizer's remaining option (context-menu replacement), on or off.
  virtual void SetOption(bool on) = 0;
};

}  // namespace windlock
