#pragma once

#include <windows.h>

namespace windlock::server {

// The thread a browser window's bars live on, reachable from any other: a message-only window
// of that thread that runs what is posted to it there.
class HomeThread {
 public:
  // Fails with an Error when the window cannot be made.
  HomeThread();
  ~HomeThread();
  HomeThread(const HomeThread&) = delete;
  HomeThread& operator=(const HomeThread&) = delete;

  bool IsCurrent() const noexcept { return GetCurrentThreadId() == thread_; }
  // destroy(object) runs on the home thread when it next handles its messages; false when the
  // thread cannot be reached (it has ended).
  bool PostDestroy(void* object, void (*destroy)(void*)) const noexcept;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;

  DWORD thread_ = GetCurrentThreadId();
  HWND window_;
};

}  // namespace windlock::server
