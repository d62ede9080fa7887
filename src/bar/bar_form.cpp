#include "bar/bar_form.h"

#include "common/error_message.h"

namespace windlock {
namespace {

// DLCTL_SILENT | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_JAVA |
// DLCTL_NO_SCRIPTS | DLCTL_DLIMAGES: captured pages load their images and nothing that runs.
constexpr int32_t kPreviewDownloadControl = 0x40000790;
constexpr uint32_t kBypassTickMs = 100;

Control& MakeBypassLabel(Control& label) {
  label.caption = "Bypass Enabled";
  label.visible = false;
  label.height = 255;
  return label;
}

}  // namespace

BarForm::BarForm(Platform& platform, ModuleData& module)
    : Form("frmBand"),
      platform_(platform),
      my_web2_(platform.controls.CreatePreviewControl()),
      my_web_(&my_web2_->InnerBrowser()),
      web_images_(platform.controls.CreateSkinBrowser()),
      mm_control1_(platform.controls.CreateSoundDevice()),
      sound_(*mm_control1_),
      bypass_(platform.keyboard, MakeBypassLabel(AddControl("lblBypass", ControlKind::kLabel))),
      context_{
          platform, module, flags_, *my_web_, *web_images_, sound_, [this] { return showing_; }} {
  AddTimer(platform.timers, "Timer1", [this] { bypass_.Tick(); });
}

BarForm::~BarForm() {
  SetCurrentIE(nullptr);
}

void BarForm::Load() {
  MarkLoaded();
  FindTimer("Timer1")->SetInterval(kBypassTickMs);
  try {
    flags_.OpenNextWindow = false;
    flags_.CapturePending = false;
    my_web2_->SetDownloadControl(kPreviewDownloadControl);
    flags_.SafeShutdownRequested = false;
    flags_.SafeShutdownStage2 = false;
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was A Form Load Error.", error);
  }
}

void BarForm::SetCurrentIE(Browser* browser) {
  if (current_ie_)
    current_ie_->Unadvise(current_ie_events_.get());
  current_ie_events_.reset();
  current_ie_ = browser;
  if (!browser)
    return;
  current_ie_events_ = std::make_unique<HostingBrowserHandlers>(context_, *browser);
  browser->Advise(current_ie_events_.get());
}

}  // namespace windlock
