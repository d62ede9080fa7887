#include "backends/sim/sim_scheduler.h"

#include <algorithm>

namespace windlock::sim {

TimerService::Id SimScheduler::Create(std::function<void()> on_tick) {
  Id id = next_id_++;
  timers_[id] = Entry{std::move(on_tick)};
  return id;
}

void SimScheduler::Schedule(Id id, uint32_t interval) {
  auto timer = timers_.find(id);
  if (timer == timers_.end()) return;
  timer->second.interval = interval;
  timer->second.due = now_ + interval;
}

void SimScheduler::Destroy(Id id) {
  timers_.erase(id);
}

void SimScheduler::Advance(uint32_t milliseconds) {
  const uint64_t target = now_ + milliseconds;
  for (;;) {
    auto next = timers_.end();
    for (auto timer = timers_.begin(); timer != timers_.end(); ++timer) {
      if (timer->second.interval == 0 || timer->second.due > target) continue;
      if (next == timers_.end() || timer->second.due < next->second.due) next = timer;
    }
    if (next == timers_.end()) break;
    now_ = std::max(now_, next->second.due);
    next->second.due += next->second.interval;
    // The tick may stop, reschedule or destroy any timer, its own included.
    std::function<void()> on_tick = next->second.on_tick;
    on_tick();
    if (after_tick_) after_tick_();
  }
  now_ = std::max(now_, target);
}

}  // namespace windlock::sim
