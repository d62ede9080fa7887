#include "platform/sim/sim_controls.h"

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
    if (slot_ == this)
      slot_ = nullptr;
  }

 private:
  T*& slot_;
};

}  // namespace

std::unique_ptr<PreviewControl> SimControlFactory::CreatePreviewControl() {
  return std::make_unique<Tracked<SimPreviewControl>>(preview_, world_);
}

std::unique_ptr<Browser> SimControlFactory::CreateSkinBrowser() {
  return std::make_unique<Tracked<SimBrowser>>(skin_, world_, BrowserRole::kSkin);
}

std::unique_ptr<SoundDevice> SimControlFactory::CreateSoundDevice() {
  return std::make_unique<Tracked<SimSoundDevice>>(sound_, trace_, files_);
}

}  // namespace windlock::sim
