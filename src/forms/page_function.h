#pragma once

#include <string>
#include <vector>

#include "platform/browser.h"

namespace windlock {

// Calls a function of the page a browser shows, when it shows one. Pages are the skin's own
// script: a missing or failing function is no fault of the bar's and is ignored.
void CallPageFunction(Browser& browser, const std::string& name,
                      const std::vector<Variant>& args = {});

}  // namespace windlock
