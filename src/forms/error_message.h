#pragma once

#include <string>

#include "common/error.h"

namespace windlock {

class Ui;

inline constexpr const char* kCrLf = "\r\n";

// "sentence" CR LF "Error Number: n" CR LF "Error Description: d": the common form of a handler's
// failure message.
std::string CommonErrorText(const std::string& sentence, const Error& error);

// Shows the common form with the critical-stop icon and the title "Error".
void ShowCommonError(Ui& ui, const std::string& sentence, const Error& error);

// Runs an event handler that has no error trap of its own: a failure is shown in the common
// form instead of reaching the browser that raised the event.
template <typename Handler>
void ReportFailure(Ui& ui, const std::string& sentence, Handler&& handler) {
  try {
    handler();
  } catch (const Error& error) {
    ShowCommonError(ui, sentence, error);
  }
}

}  // namespace windlock
