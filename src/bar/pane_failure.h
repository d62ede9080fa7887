#pragma once

#include <string>

#include "capture/bar_flags.h"
#include "forms/error_message.h"

namespace windlock {

// Runs a handler of the preview or skin pane that has no error trap of its own: a failure is
// shown in the common form, and a safe shutdown it interrupted ends with all its stages clear.
template <typename Handler>
void GuardPaneHandler(Ui& ui, BarFlags& flags, const std::string& sentence, Handler&& handler) {
  try {
    handler();
  } catch (const Error& error) {
    flags.ClearSafeShutdown();
    ShowCommonError(ui, sentence, error);
  }
}

}  // namespace windlock
