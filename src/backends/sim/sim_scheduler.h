#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/timer_service.h"

namespace windlock::sim {

// The virtual clock and the window timers on it. Time moves only through Advance; every running
// timer ticks at each multiple of its interval, earliest first.
class SimScheduler : public TimerService, public Clock {
 public:
  static constexpr uint32_t kStartTime = 100000;

  Id Create(std::function<void()> on_tick) override;
  void Schedule(Id id, uint32_t interval) override;
  void Destroy(Id id) override;
  uint32_t TimeGetTime() override { return static_cast<uint32_t>(now_); }

  // Lets `milliseconds` pass. A tick may run a nested Advance (a modal form waiting for time);
  // the clock then never goes back.
  void Advance(uint32_t milliseconds);
  // Runs after every tick (the machine delivers queued navigations there).
  void SetAfterTick(std::function<void()> after_tick) { after_tick_ = std::move(after_tick); }

 private:
  struct Entry {
    std::function<void()> on_tick;
    uint32_t interval = 0;  // 0: stopped
    uint64_t due = 0;
  };

  uint64_t now_ = kStartTime;
  Id next_id_ = 1;
  std::map<Id, Entry> timers_;
  std::function<void()> after_tick_;
};

}  // namespace windlock::sim
