#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/timer_service.h"

namespace windlock {

// A form's timer: it ticks every Interval milliseconds while it is enabled and its interval is
// not 0.
class Timer {
 public:
  Timer(TimerService& service, std::string name, std::function<void()> on_tick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  uint32_t interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  bool running() const { return enabled_ && interval_ > 0; }

  void SetInterval(uint32_t milliseconds);
  void SetEnabled(bool enabled);

 private:
  void Reschedule();

  TimerService& service_;
  std::string name_;
  TimerService::Id id_;
  uint32_t interval_ = 0;
  bool enabled_ = true;
};

}  // namespace windlock
