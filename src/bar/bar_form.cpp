#include "bar/bar_form.h"

#include "common/skin_paths.h"
#include "dialogs/options_dialog.h"
#include "forms/error_message.h"
#include "skins/skin_page.h"
#include "windlock/band_ids.h"

namespace windlock {
namespace {

// DLCTL_SILENT | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_JAVA |
// DLCTL_NO_SCRIPTS | DLCTL_DLIMAGES: captured pages load their images and nothing that runs.
constexpr int32_t kPreviewDownloadControl = 0x40000790;
constexpr uint32_t kBypassTickMs = 100;
constexpr uint32_t kDeferredActionMs = 500;

// Runs one step of the activation or the teardown; a fault ends that step only.
template <typename Step>
void CarryOn(Step&& step) {
  try {
    step();
  } catch (const Error&) {
  }
}

}  // namespace

BarForm::BarForm(Platform& platform, ModuleData& module)
    : Form("frmBand"),
      platform_(platform),
      module_(module),
      window_(platform.windows, *this),
      controls_(AddDesignControls()),
      my_web2_(platform.controls.CreatePreviewControl(controls_.MyWeb2)),
      my_web_(&my_web2_->InnerBrowser()),
      web_images_(platform.controls.CreateSkinBrowser(controls_.webImages)),
      mm_control1_(platform.controls.CreateSoundDevice()),
      animation1_(platform.controls.CreateAnimation(controls_.Animation1)),
      sound_(*mm_control1_),
      captured_(platform, controls_.URLList, flags_, *my_web_, *web_images_),
      bypass_(platform.keyboard, controls_.lblBypass),
      context_{*this,    platform,     module, flags_,
               *my_web_, *web_images_, sound_, [this] { return showing(); }},
      hosting_events_(context_),
      preview_events_(*this),
      skin_events_(*this),
      buttons_(*this),
      transition_(*this),
      bridge_(*this),
      timer1_(AddTimer(platform.timers, "Timer1", [this] { bypass_.Tick(); })),
      // The skin transition's timer: stopped while no transition runs.
      timer2_(AddTimer(platform.timers, "Timer2", [this] { transition_.Tick(); })),
      timer3_(AddTimer(platform.timers, "Timer3", [this] { Timer3_Timer(); })) {
  timer3_.SetEnabled(false);
  timer3_.SetInterval(kDeferredActionMs);
  web_images_->Advise(&skin_events_);
}

BarForm::~BarForm() {
  SetCurrentIE(nullptr);
  Unload();
  web_images_->Unadvise(&skin_events_);
}

void BarForm::Load() {
  MarkLoaded();
  timer1_.SetInterval(kBypassTickMs);
  try {
    flags_.OpenNextWindow = false;
    flags_.CapturePending = false;
    my_web2_->SetDownloadControl(kPreviewDownloadControl);
    my_web_->Advise(&preview_events_);
    preview_connected_ = true;
    PreviewShown = true;
    flags_.SafeShutdownRequested = false;
    flags_.SafeShutdownStage2 = false;
    customizer_ = platform_.controls.CreateBrowserCustomizer();
    customizer_->SetBrowser(web_images_.get());
    customizer_->SetExternal(&bridge_);
    customizer_->SetOption(false);
    captured_.CreateMirror(platform_.xml);
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was A Form Load Error.", error);
  }
}

void BarForm::Activate() {
  std::shared_ptr<Form> alive = KeepAlive();
  if (activated_) return;
  const Settings& settings = module_.settings;
  CarryOn([&] {
    if (settings.AutoStart && !settings.Visible && current_ie_) {
      current_ie_->ShowBrowserBar(kBandClsid, false);
    }
  });
  CarryOn([&] { animation1_->Open(platform_.files.ProgramFolder() + "\\LarkspanLoading.avi"); });
  CarryOn([&] { NavigateToSkinPage(*web_images_, platform_.files, settings.DefaultSkin); });
  activated_ = true;
}

void BarForm::Resize(float new_width, float new_height) {
  std::shared_ptr<Form> alive = KeepAlive();
  width = new_width;
  height = new_height;
  LayOut();
}

void BarForm::ShowSkin(bool shown) {
  // A skin browser that cannot load or blank its page does not keep the bar from showing or
  // hiding.
  CarryOn([&] {
    windlock::ShowSkin(*web_images_, platform_.files, module_.settings.DefaultSkin, shown);
  });
}

bool BarForm::showing() const {
  return platform_.windows.IsWindowVisible(window_.get());
}

void BarForm::SetCurrentIE(Browser* browser) {
  if (current_ie_) current_ie_->Unadvise(&hosting_events_);
  current_ie_ = browser;
  hosting_events_.Bind(browser);
  if (browser) browser->Advise(&hosting_events_);
}

void BarForm::URLList_DblClick() {
  std::shared_ptr<Form> alive = KeepAlive();
  if (captured_.CapturedCount() > 0) buttons_.Command1_Click(1);
}

void BarForm::URLList_MouseDown(bool on_item) {
  module_.MenuContext = on_item ? "Node" : "List";
}

void BarForm::ScheduleDeferredAction(DeferredAction action, uint32_t menu_offset) {
  // An unloaded bar's timers stay stopped.
  if (!loaded()) return;
  deferred_ = action;
  deferred_menu_offset_ = menu_offset;
  timer3_.SetEnabled(true);
}

void BarForm::Timer3_Timer() {
  std::shared_ptr<Form> alive = KeepAlive();
  timer3_.SetEnabled(false);
  ReportFailure(platform_.ui, "There Was An Error Opening The Skins Page.", [&] {
    if (deferred_ == DeferredAction::kMenuCommand) {
      HandleMenuCommand(deferred_menu_offset_);
    } else if (deferred_ == DeferredAction::kOptions) {
      ShowOptions();
    } else if (deferred_ == DeferredAction::kSkinsPage && current_ie_) {
      current_ie_->Navigate2(NavigateRequest::To(module_.settings.BrowseSkinsURL));
    }
  });
}

void BarForm::ShowOptions() {
  OptionsBarHooks hooks;
  hooks.apply_skin = [this](int32_t number) { ApplySkin(number); };
  hooks.browse_for_skins = [this] { bridge_.BrowseForSkins(); };
  hooks.close_sound = [this] { sound_.Close(); };
  OptionsDialog dialog(platform_, module_, std::move(hooks));
  dialog.Load();
  platform_.ui.RunModal(dialog);
}

void BarForm::OnUnload() {
  captured_.ReleaseMirror();
  CarryOn([&] {
    if (current_ie_) {
      current_ie_->Navigate2(
          NavigateRequest::To(platform_.files.ProgramFolder() + "\\safeshutdown.htm"));
    }
  });
  CarryOn([&] {
    if (customizer_) customizer_->SetBrowser(nullptr);
  });
  customizer_.reset();
  if (preview_connected_) {
    my_web_->Unadvise(&preview_events_);
    preview_connected_ = false;
  }
  CarryOn([&] { window_.Destroy(); });
}

}  // namespace windlock
