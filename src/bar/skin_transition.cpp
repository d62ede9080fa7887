#include "bar/skin_transition.h"

#include "bar/bar_form.h"
#include "common/skin_paths.h"
#include "forms/error_message.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

constexpr int32_t kOriginalNumber = 10;
constexpr int32_t kFirstSkinNumber = 11;
constexpr uint32_t kTickInterval = 1;
constexpr int32_t kPauseMs = 2500;

enum Phase { kSlideOut = 0, kWait = 1, kDropIn = 2 };

}  // namespace

void SkinTransition::ApplySkin(int32_t number) {
  Timer& timer = form_.transition_timer();
  if (timer.interval() > 0) return;
  form_.LayOut();
  Settings& settings = form_.module().settings;
  Control& popup = form_.controls().framePopup;
  Control& images = form_.controls().frameImages;
  if (number == kOriginalNumber) {
    if (settings.DefaultSkin == kOriginalSkin) return;
    settings.DefaultSkin = kOriginalSkin;
    outgoing_ = &images;
    incoming_ = &popup;
  } else if (number >= kFirstSkinNumber) {
    FileSystem& files = form_.platform().files;
    std::vector<std::string> folders = files.SubFolders(files.ProgramFolder() + "\\Skins");
    std::size_t index = static_cast<std::size_t>(number - kFirstSkinNumber);
    if (index >= folders.size() || folders[index] == settings.DefaultSkin) return;
    outgoing_ = settings.DefaultSkin != kOriginalSkin ? &images : &popup;
    settings.DefaultSkin = folders[index];
    incoming_ = &images;
  } else {
    return;
  }
  phase_ = kSlideOut;
  last_tick_ = 0;
  timer.SetInterval(kTickInterval);
}

void SkinTransition::Tick() {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  if (!outgoing_ || !incoming_) return;
  try {
    Step(form_.platform().clock.TimeGetTime());
  } catch (const Error& error) {
    // One report, and the bar at rest rather than stuck half way.
    if (outgoing_) Rest();
    form_.LayOut();
    ShowCommonError(form_.platform().ui, "There Was An Error Switching The Skin.", error);
  }
}

void SkinTransition::Step(uint32_t now) {
  if (last_tick_ == 0) last_tick_ = now;
  const int32_t dt = static_cast<int32_t>(now - last_tick_);
  Control& clip = form_.controls().Animation1;
  switch (phase_) {
    case kSlideOut:
      if (!clip.visible) {
        clip.visible = true;
        PlayClip();
      }
      last_tick_ = now;
      outgoing_->left = static_cast<float>(outgoing_->left - (outgoing_->width / 1000.0) * dt);
      // A frame with no width is out of sight already.
      if (outgoing_->left + outgoing_->width < 0 || outgoing_->width <= 0) {
        phase_ = kWait;
        incoming_->top = -incoming_->height;
        incoming_->left = 0;
        LoadNewLook();
        last_tick_ = 0;
      }
      break;
    case kWait:
      if (dt > kPauseMs) {
        phase_ = kDropIn;
        last_tick_ = 0;
      }
      break;
    case kDropIn:
      last_tick_ = now;
      incoming_->top = static_cast<float>(incoming_->top + (incoming_->height / 1000.0) * dt);
      if (incoming_->top >= 0) {
        Rest();
        EndOnAnInstalledLook();
        form_.LayOut();
        SaveSettings(form_.module().settings, form_.platform().registry);
      }
      break;
  }
}

void SkinTransition::PlayClip() {
  try {
    form_.Animation1().Play();
  } catch (const Error&) {
    // No clip to play (its file was missing when the bar opened it): the control stays blank
    // and the switch goes on without it.
  }
}

void SkinTransition::LoadNewLook() {
  const std::string& skin = form_.module().settings.DefaultSkin;
  FileSystem& files = form_.platform().files;
  std::string page = "about:blank";
  if (skin != kOriginalSkin) {
    std::string htm = SkinFilePath(files.ProgramFolder(), skin, ".htm");
    std::string hta = SkinFilePath(files.ProgramFolder(), skin, ".hta");
    if (files.FileExists(htm)) {
      page = htm;
    } else if (files.FileExists(hta)) {
      page = hta;
    }
  }
  form_.webImages().Navigate2(NavigateRequest::To(page));
}

void SkinTransition::EndOnAnInstalledLook() {
  Settings& settings = form_.module().settings;
  if (settings.DefaultSkin == kOriginalSkin) return;
  FileSystem& files = form_.platform().files;
  if (files.FolderExists(SkinFolderPath(files.ProgramFolder(), settings.DefaultSkin))) return;
  // Uninstalled while it came in (a switch ignores requests while it runs): the bar must not
  // rest on, or store, a skin whose files are gone.
  settings.DefaultSkin = kOriginalSkin;
  LoadNewLook();
}

void SkinTransition::Rest() {
  Control& clip = form_.controls().Animation1;
  try {
    form_.Animation1().Stop();
  } catch (const Error&) {
    // The clip stops with the transition whether or not the control says so.
  }
  clip.visible = false;
  phase_ = kSlideOut;
  form_.transition_timer().SetInterval(0);
  last_tick_ = 0;
  outgoing_ = nullptr;
  incoming_ = nullptr;
}

}  // namespace windlock
