#pragma once

#include "forms/form.h"
#include "platform/platform.h"

namespace windlock {

// frmAbout: the product's name and version, System Information on request, and OK (also
// Enter and Escape) to close.
class AboutBox : public Form {
 public:
  explicit AboutBox(Platform& platform);

  void Load();

 private:
  Platform& platform_;
};

// Shows the About box modally.
void ShowAboutBox(Platform& platform);

}  // namespace windlock
