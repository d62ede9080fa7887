#include "dialogs/add_url_dialog.h"

#include "settings/save_reporting.h"

namespace windlock {
namespace {

constexpr const char* kPromptText =
    "This website is attempting to open a pop-up window.  Do you wish to add this site to your "
    "trusted list and allow it to operate as it normally would?  In doing this you are bypassing "
    "the pop-up stopper for this site only.  It will then be able to open pop-up windows with no "
    "interruption.  If you choose Do Not Trust, it will be added to your Untrusted list and all "
    "pop-ups for this site will be captured with no further prompting.";

constexpr float kButtonLeft = 4800;
constexpr float kButtonWidth = 1215;
constexpr float kButtonHeight = 375;

}  // namespace

AddUrlDialog::AddUrlDialog(Platform& platform, ModuleData& module)
    : Form("addURLDialog"),
      platform_(platform),
      module_(module),
      url_box_(AddControl("UrlToAdd", ControlKind::kTextBox).Place(120, 2160, 4560, 315)),
      ask_again_(AddControl("Check1", ControlKind::kCheckBox).Place(120, 2580, 4560, 255)) {
  caption = "Add URL To  List?";
  width = 6240;
  height = 3360;
  AddControl("Label1", ControlKind::kLabel).Place(120, 120, 4560, 1680).caption = kPromptText;
  AddControl("Label2", ControlKind::kLabel).Place(120, 1920, 4560, 225).caption = "URL To Add:";
  url_box_.accessible_name = "URL To Add";
  ask_again_.caption = "Ask Again Next Time A Pop-up Window Is Captured.";

  Control& trust = AddControl("OKButton(0)", ControlKind::kButton)
                       .Place(kButtonLeft, 120, kButtonWidth, kButtonHeight);
  trust.caption = "Trust";
  trust.on_click = [this] {
    AddSite(kTrustPrefix);
    module_.DialogURL = "added";
    Unload();
  };
  Control& distrust = AddControl("OKButton(1)", ControlKind::kButton)
                          .Place(kButtonLeft, 600, kButtonWidth, kButtonHeight);
  distrust.caption = "Do Not Trust";
  distrust.on_click = [this] {
    AddSite(kNoTrustPrefix);
    Unload();
  };
  Control& capture = AddControl("CancelButton", ControlKind::kButton)
                         .Place(kButtonLeft, 1920, kButtonWidth, kButtonHeight);
  capture.caption = "Capture";
  capture.on_click = [this] { Unload(); };
  Control& open = AddControl("Command1", ControlKind::kButton)
                      .Place(kButtonLeft, 2400, kButtonWidth, kButtonHeight);
  open.caption = "Open";
  open.on_click = [this] {
    module_.DialogURL = "added";
    Unload();
  };
  ask_again_.on_click = [this] {
    module_.settings.PromptToAdd = ask_again_.checked();
    SaveSettingsReporting(module_.settings, platform_);
  };
  default_button_ = &trust;
  // Escape captures, as closing the prompt does.
  cancel_button_ = &capture;
}

void AddUrlDialog::AddSite(const char* prefix) {
  module_.settings.Sites.Append(prefix + module_.DialogURL);
  SaveSettingsReporting(module_.settings, platform_);
}

void AddUrlDialog::Load() {
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  url_box_.text = module_.DialogURL;
  MarkLoaded();
  ask_again_.SetChecked(true);
}

void ShowAddUrlDialog(Platform& platform, ModuleData& module) {
  AddUrlDialog dialog(platform, module);
  dialog.Load();
  platform.ui.RunModal(dialog);
}

}  // namespace windlock
