#pragma once

#include <windows.h>

#include <map>

#include "platform/timer_service.h"

namespace windlock::win32 {

// Window timers on a message-only window of the thread; timeGetTime from winmm.
class Win32Timers : public TimerService, public Clock {
 public:
  Win32Timers();
  ~Win32Timers() override;
  Win32Timers(const Win32Timers&) = delete;
  Win32Timers& operator=(const Win32Timers&) = delete;

  Id Create(std::function<void()> on_tick) override;
  void Schedule(Id id, uint32_t interval) override;
  void Destroy(Id id) override;
  uint32_t TimeGetTime() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;

  HWND window_ = nullptr;
  Id next_id_ = 1;
  std::map<Id, std::function<void()>> timers_;
};

}  // namespace windlock::win32
