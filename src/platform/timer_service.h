#pragma once

#include <cstdint>
#include <functional>

namespace windlock {

// Window timers of the browser thread. Real: SetTimer on a message window (win32). Fake: the
// virtual clock of the simulated machine (SimMachine).
class TimerService {
 public:
  using Id = uint32_t;
  virtual ~TimerService() = default;

  virtual Id Create(std::function<void()> on_tick) = 0;
  // Ticks every `interval` milliseconds from now on; 0 stops the timer.
  virtual void Schedule(Id id, uint32_t interval) = 0;
  virtual void Destroy(Id id) = 0;
};

// timeGetTime: milliseconds since an arbitrary start, wrapping at 2^32.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TimeGetTime() = 0;
};

}  // namespace windlock
