#include "forms/timer.h"

namespace windlock {

Timer::Timer(TimerService& service, std::string name, std::function<void()> on_tick)
    : service_(service), name_(std::move(name)), id_(service.Create(std::move(on_tick))) {}

Timer::~Timer() {
  service_.Destroy(id_);
}

void Timer::SetInterval(uint32_t milliseconds) {
  interval_ = milliseconds;
  Reschedule();
}

void Timer::SetEnabled(bool enabled) {
  // Enabling a running timer again does not start its interval over.
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Reschedule();
}

void Timer::Reschedule() {
  service_.Schedule(id_, running() ? interval_ : 0);
}

}  // namespace windlock
