#include "backends/sim/sim_controls.h"

#include "backends/sim/sim_file_system.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

// A control that clears its factory's pointer to it when the form lets it go.
template <typename T>
class Tracked : public T {
 public:
  template <typename... Args>
  explicit Tracked(T*& slot, Args&&... args) : T(std::forward<Args>(args)...), slot_(slot) {
    slot_ = this;
  }
  ~Tracked() override {
    if (slot_ == this) slot_ = nullptr;
  }

 private:
  T*& slot_;
};

// What creating a control answers on a thread that never initialised COM.
Error NotInitialised() {
  return Error(static_cast<int32_t>(0x800401F0), "CoInitialize has not been called.");
}

}  // namespace

void SimAnimation::Open(const std::string& path) {
  clip_open_ = files_.FileExists(path);
  if (!clip_open_) {
    trace_("animation open " + Quote(path) + " failed");
    throw Error(kErrFileNotFound, "File not found: " + path);
  }
  trace_("animation open " + Quote(path));
}

void SimAnimation::Play() {
  if (!clip_open_) {
    trace_("animation play failed");
    throw Error(kErrInvalidProcedureCall, "Invalid procedure call or argument");
  }
  trace_("animation play");
}

std::unique_ptr<PreviewControl> SimControlFactory::CreatePreviewControl(const Control& /*holder*/) {
  if (failing_) throw NotInitialised();
  return std::make_unique<Tracked<SimPreviewControl>>(preview_, world_);
}

std::unique_ptr<Browser> SimControlFactory::CreateSkinBrowser(const Control& /*holder*/) {
  if (failing_) throw NotInitialised();
  return std::make_unique<Tracked<SimBrowser>>(skin_, world_, BrowserRole::kSkin);
}

std::unique_ptr<SoundDevice> SimControlFactory::CreateSoundDevice() {
  return std::make_unique<Tracked<SimSoundDevice>>(sound_, trace_, files_);
}

std::unique_ptr<BrowserCustomizer> SimControlFactory::CreateBrowserCustomizer() {
  return std::make_unique<Tracked<SimBrowserCustomizer>>(customizer_);
}

std::unique_ptr<Animation> SimControlFactory::CreateAnimation(const Control& /*holder*/) {
  if (failing_) throw NotInitialised();
  return std::make_unique<SimAnimation>(trace_, files_);
}

}  // namespace windlock::sim
