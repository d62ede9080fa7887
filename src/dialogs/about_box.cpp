#include "dialogs/about_box.h"

#include <string>

#include "dialogs/sys_info.h"
#include "windlock/version.h"

namespace windlock {
namespace {

std::string VersionCaption() {
  return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

}  // namespace

AboutBox::AboutBox(Platform& platform) : Form("frmAbout"), platform_(platform) {
  caption = "Larkspan Pop-Up Window Stopper";
  // The logo at its own 183 x 146 pixels at 96 DPI on the left; the version and the buttons in a
  // column on its right, the buttons level with the logo's foot.
  width = 5730;
  height = 2670;
  Control& logo = AddControl("picIcon", ControlKind::kPicture).Place(240, 240, 2745, 2190);
  logo.picture = "Logo";
  logo.accessible_name = "Windlock logo";
  AddControl("lblVersion", ControlKind::kLabel).Place(3225, 240, 2265, 225).caption =
      VersionCaption();

  Control& sys_info = AddControl("cmdSysInfo", ControlKind::kButton).Place(4245, 1635, 1245, 345);
  sys_info.caption = "&System Info...";
  sys_info.on_click = [this] { StartSysInfo(platform_); };
  Control& ok = AddControl("cmdOK", ControlKind::kButton).Place(4245, 2085, 1245, 345);
  ok.caption = "OK";
  ok.on_click = [this] { Unload(); };
  default_button_ = &ok;
  cancel_button_ = &ok;
}

void AboutBox::Load() {
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  MarkLoaded();
}

void ShowAboutBox(Platform& platform) {
  AboutBox box(platform);
  box.Load();
  platform.ui.RunModal(box);
}

}  // namespace windlock
