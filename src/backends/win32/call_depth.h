#pragma once

namespace windlock::win32 {

// Counts the calls from Windows into the core on the thread's stack. A COM object let go for the
// last time while one is there (the browser releasing the bar from inside the capture alert's
// message loop) is destroyed only when the outermost call has returned, so the handlers under
// that loop never return into freed objects.
class CallDepth {
 public:
  CallDepth() noexcept;
  ~CallDepth();
  CallDepth(const CallDepth&) = delete;
  CallDepth& operator=(const CallDepth&) = delete;

  // Runs destroy(object) now, or when the thread's outermost call ends if one is on its stack.
  static void DestroyWhenDone(void* object, void (*destroy)(void*)) noexcept;
};

}  // namespace windlock::win32
