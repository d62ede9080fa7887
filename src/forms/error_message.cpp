#include "forms/error_message.h"

#include "platform/ui.h"

namespace windlock {

std::string CommonErrorText(const std::string& sentence, const Error& error) {
  return sentence + kCrLf + "Error Number: " + std::to_string(error.number()) + kCrLf +
         "Error Description: " + error.description();
}

void ShowCommonError(Ui& ui, const std::string& sentence, const Error& error) {
  ui.ShowMessageBox(CommonErrorText(sentence, error), std::string("Error"), kMbIconCritical);
}

}  // namespace windlock
