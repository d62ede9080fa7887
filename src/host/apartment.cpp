#include "host/apartment.h"

namespace windlock {

BarForm& Apartment::LoadBarForm() {
  if (!bar_form_) {
    bar_form_ = std::make_shared<BarForm>(platform_, module_);
    ++bar_form_loads_;
    bar_form_->Load();
  }
  return *bar_form_;
}

void Apartment::UnloadBarForm() {
  if (!bar_form_) return;
  bar_form_->Unload();
  bar_form_.reset();
}

}  // namespace windlock
