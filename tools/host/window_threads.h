#pragma once

#include <windows.h>

#include <oaidl.h>

#include <mutex>
#include <thread>
#include <vector>

#include "backends/win32/com/com_ptr.h"
#include "command_line.h"

namespace windlock::host {

// The host's windows, each on a thread of its own with its own message loop and its own bar, as
// the browser gave each of its windows: a window that hangs does not hold up the others.
class WindowThreads {
 public:
  WindowThreads() = default;
  // Waits for every window to close.
  ~WindowThreads();
  WindowThreads(const WindowThreads&) = delete;
  WindowThreads& operator=(const WindowThreads&) = delete;

  // Opens a window at `options`, on a thread of its own.
  void Open(const HostOptions& options, int show_command);
  // Opens a window for a page's new window, which its browser goes on to open: the new window's
  // browser, for the calling thread to hand back; none when the window could not be made. The
  // calling thread's messages are handled while it waits.
  win32::ComPtr<IDispatch> OpenForPage(const HostOptions& options);
  // Returns when the last window has closed.
  void WaitUntilAllClosed();

 private:
  // What a window's thread tells its opener once the window is made (or could not be).
  struct Opening;
  void Start(const HostOptions& options, int show_command, Opening* opening);
  void Run(HostOptions options, int show_command, Opening* opening);

  std::mutex mutex_;
  std::vector<std::thread> threads_;
};

}  // namespace windlock::host
