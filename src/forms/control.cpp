#include "forms/control.h"

namespace windlock {

void Control::Click() {
  if (!enabled) return;
  if (kind_ == ControlKind::kCheckBox) value = value ? 0 : 1;
  if (on_click) on_click();
}

void Control::SetChecked(bool checked) {
  int new_value = checked ? 1 : 0;
  if (value == new_value) return;
  value = new_value;
  if (on_click) on_click();
}

void Control::Type(std::string new_text) {
  text = std::move(new_text);
  if (on_change) on_change();
}

void Control::Leave() {
  if (on_validate) on_validate();
}

void Control::Select(int index) {
  if (kind_ == ControlKind::kTabStrip) {
    value = index;
  } else {
    list_index = index;
  }
  if (on_click) on_click();
}

void Control::Slide(int position) {
  value = position;
  if (on_change) on_change();
}

void Control::ClearLines() {
  lines.clear();
  list_index = -1;
}

}  // namespace windlock
