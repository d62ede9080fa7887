#include "dialogs/get_url_dialog.h"

#include "settings/root_domain.h"

namespace windlock {

GetUrlDialog::GetUrlDialog(Platform& platform, ModuleData& module)
    : Form("getURLDialog"),
      platform_(platform),
      module_(module),
      text_(AddControl("Text1", ControlKind::kTextBox)) {
  caption = "Enter URL";
  width = 5640;
  height = 1380;
  AddControl("Label1", ControlKind::kLabel).Place(120, 120, 3960, 225).caption = "URL To Add:";
  text_.Place(120, 360, 3960, 315);
  text_.accessible_name = "URL To Add";

  Control& ok = AddControl("OKButton", ControlKind::kButton).Place(4260, 120, 1215, 375);
  ok.caption = "OK";
  ok.on_click = [this] {
    module_.DialogURL = text_.text;
    getrootdomain(module_.DialogURL);
    Unload();
  };
  Control& cancel = AddControl("CancelButton", ControlKind::kButton).Place(4260, 600, 1215, 375);
  cancel.caption = "Cancel";
  cancel.on_click = [this] { CloseBox(); };
  default_button_ = &ok;
  cancel_button_ = &cancel;
}

void GetUrlDialog::Load() {
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  MarkLoaded();
}

void GetUrlDialog::CloseBox() {
  module_.DialogURL = "cancel";
  Unload();
}

void ShowGetUrlDialog(Platform& platform, ModuleData& module) {
  GetUrlDialog dialog(platform, module);
  dialog.Load();
  platform.ui.RunModal(dialog);
}

}  // namespace windlock
