#pragma once

#include <memory>

#include "bar/bar_form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// The module data of one browser thread: the settings and dialog texts, and the thread's
// default instance of the bar form. The win32 glue keeps one per thread; tests make several.
class Apartment {
 public:
  explicit Apartment(Platform& platform) : platform_(platform) {}

  Platform& platform() { return platform_; }
  ModuleData& module() { return module_; }

  // The thread's bar form, loaded on first use; none once unloaded.
  BarForm& LoadBarForm();
  BarForm* bar_form() { return bar_form_.get(); }
  void UnloadBarForm();
  // Counts the loads, so that a band can tell whether the form it loaded is still the one.
  uint64_t bar_form_load_count() const { return bar_form_loads_; }

 private:
  Platform& platform_;
  ModuleData module_;
  // Shared: a handler of the form may still be running when the form is unloaded.
  std::shared_ptr<BarForm> bar_form_;
  uint64_t bar_form_loads_ = 0;
};

}  // namespace windlock
