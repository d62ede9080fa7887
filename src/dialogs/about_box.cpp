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
  width = 5730;
  height = 3750;
  AddControl("picIcon", ControlKind::kPicture).Place(240, 240, 540, 540);
  AddControl("lblVersion", ControlKind::kLabel).Place(1050, 780, 3885, 225).caption =
      VersionCaption();

  Control& sys_info = AddControl("cmdSysInfo", ControlKind::kButton).Place(4260, 2625, 1245, 345);
  sys_info.caption = "&System Info...";
  sys_info.on_click = [this] { StartSysInfo(platform_); };
  Control& ok = AddControl("cmdOK", ControlKind::kButton).Place(4260, 3075, 1245, 345);
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
