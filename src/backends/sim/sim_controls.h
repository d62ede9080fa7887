#pragma once

#include <memory>

#include "backends/sim/sim_browser.h"
#include "backends/sim/sim_sound_device.h"
#include "platform/control_factory.h"

namespace windlock::sim {

// The customizer of one browser: pages of the browser it serves reach its external object.
class SimBrowserCustomizer : public BrowserCustomizer {
 public:
  void SetBrowser(Browser* browser) override { browser_ = browser; }
  void SetExternal(ScriptExternal* external) override { external_ = external; }
  void SetOption(bool on) override { option_ = on; }

  // window.external of pages in `browser`, or none.
  ScriptExternal* ExternalFor(const Browser& browser) const {
    return browser_ == &browser ? external_ : nullptr;
  }

 private:
  Browser* browser_ = nullptr;
  ScriptExternal* external_ = nullptr;
  bool option_ = false;
};

// The loading clip's animation control: opening a missing file fails and leaves no clip open,
// and playing without a clip fails, as ACM_PLAY does; playing and stopping are traced.
class SimAnimation : public Animation {
 public:
  SimAnimation(const SimTrace& trace, SimFileSystem& files) : trace_(trace), files_(files) {}
  void Open(const std::string& path) override;
  void Play() override;
  void Stop() override { trace_("animation stop"); }

 private:
  const SimTrace& trace_;
  SimFileSystem& files_;
  bool clip_open_ = false;
};

class SimPreviewControl : public PreviewControl {
 public:
  explicit SimPreviewControl(SimWorld& world) : browser_(world, BrowserRole::kPreview) {}

  void SetDownloadControl(int32_t flags) override { download_control_ = flags; }
  Browser& InnerBrowser() override { return browser_; }

  SimBrowser& browser() { return browser_; }
  int32_t download_control() const { return download_control_; }

 private:
  SimBrowser browser_;
  int32_t download_control_ = 0;
};

// Makes the controls of one window's bar form and keeps track of the live ones, so the scenario
// runner can raise their events.
class SimControlFactory : public ControlFactory {
 public:
  SimControlFactory(SimWorld& world, const SimTrace& trace, SimFileSystem& files)
      : world_(world), trace_(trace), files_(files) {}

  std::unique_ptr<PreviewControl> CreatePreviewControl(const Control& holder) override;
  std::unique_ptr<Browser> CreateSkinBrowser(const Control& holder) override;
  std::unique_ptr<SoundDevice> CreateSoundDevice() override;
  std::unique_ptr<BrowserCustomizer> CreateBrowserCustomizer() override;
  std::unique_ptr<Animation> CreateAnimation(const Control& holder) override;

  // From now on the hosted controls (the browsers, the animation) cannot be made, as on a thread
  // without COM; or again can.
  void SetFailing(bool failing) { failing_ = failing; }

  // The live controls, or none.
  SimPreviewControl* preview() const { return preview_; }
  SimBrowser* skin() const { return skin_; }
  SimSoundDevice* sound() const { return sound_; }
  SimBrowserCustomizer* customizer() const { return customizer_; }

 private:
  SimWorld& world_;
  const SimTrace& trace_;
  SimFileSystem& files_;
  SimPreviewControl* preview_ = nullptr;
  SimBrowser* skin_ = nullptr;
  SimSoundDevice* sound_ = nullptr;
  SimBrowserCustomizer* customizer_ = nullptr;
  bool failing_ = false;
};

}  // namespace windlock::sim
