#pragma once

#include <string>
#include <vector>

#include "platform/script_external.h"

namespace windlock {

class BarForm;

// What skin pages reach as window.external: the bar's fifteen methods, found by name without
// regard to letter case. A failure reaches the calling script as an automation error. Boolean
// results are -1 (true) and 0 (false).
class ScriptBridge : public ScriptExternal {
 public:
  explicit ScriptBridge(BarForm& form) : form_(form) {}

  Variant Invoke(const std::string& method, std::vector<Variant>& args) override;

  // The options dialog's "Browse For More Skins": the skins page opens in the browser after the
  // calling script has returned.
  void BrowseForSkins();

 private:
  BarForm& form_;
};

}  // namespace windlock
