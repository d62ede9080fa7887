#include "forms/form.h"

namespace windlock {

Control* Form::FindControl(std::string_view name) {
  for (auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

Timer* Form::FindTimer(std::string_view name) {
  for (auto& timer : timers_) {
    if (timer->name() == name) return timer.get();
  }
  return nullptr;
}

Control& Form::AddControl(std::string name, ControlKind kind) {
  controls_.push_back(std::make_unique<Control>(std::move(name), kind));
  return *controls_.back();
}

ListView& Form::AddListView(std::string name) {
  auto list_view = std::make_unique<ListView>(std::move(name));
  ListView& added = *list_view;
  controls_.push_back(std::move(list_view));
  return added;
}

Timer& Form::AddTimer(TimerService& service, std::string name, std::function<void()> on_tick) {
  timers_.push_back(std::make_unique<Timer>(service, std::move(name), std::move(on_tick)));
  return *timers_.back();
}

void Form::CenterOn(float screen_width, float screen_height) {
  left = (screen_width - width) / 2;
  top = (screen_height - height) / 2;
}

void Form::PressEnter() {
  if (default_button_) {
    default_button_->Click();
  } else {
    KeyPress(13);
  }
}

void Form::PressEscape() {
  if (cancel_button_) {
    cancel_button_->Click();
  } else {
    KeyPress(27);
  }
}

void Form::Unload() {
  if (!loaded_) return;
  for (auto& timer : timers_) timer->SetEnabled(false);
  OnUnload();
  loaded_ = false;
}

}  // namespace windlock
