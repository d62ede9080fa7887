#pragma once

#include <functional>

#include "capture/bar_flags.h"
#include "capture/capture_sound.h"
#include "forms/form.h"
#include "platform/browser.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// What the capture code works on inside the bar form.
struct CaptureContext {
  // The bar form itself: a modal window of the decision may see it unloaded.
  Form& bar;
  Platform& platform;
  ModuleData& module;
  BarFlags& flags;
  Browser& preview;  // MyWeb, where captured windows open
  Browser& skin;     // webImages
  CaptureSound& sound;
  std::function<bool()> bar_showing;
};

}  // namespace windlock
