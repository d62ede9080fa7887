#include "window_threads.h"

#include <objbase.h>
#include <ole2.h>

#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/view/common_controls.h"
#include "common/error.h"
#include "host_window.h"

namespace windlock::host {

struct WindowThreads::Opening {
  // Set once the window exists, or has failed to.
  HANDLE done = nullptr;
  // The window's browser, marshalled for the opener's thread; none on failure.
  IStream* browser = nullptr;
};

WindowThreads::~WindowThreads() {
  WaitUntilAllClosed();
}

void WindowThreads::Open(const HostOptions& options, int show_command) {
  Start(options, show_command, nullptr);
}

win32::ComPtr<IDispatch> WindowThreads::OpenForPage(const HostOptions& options) {
  win32::KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return {};
  Opening opening{done.get(), nullptr};
  Start(options, SW_SHOWNORMAL, &opening);
  DWORD signalled = 0;
  // The new window's thread may call into this one while it makes the window.
  HANDLE handles[] = {done.get()};
  if (FAILED(CoWaitForMultipleHandles(0, INFINITE, 1, handles, &signalled))) {
    // The thread writes into `opening` until it sets the event.
    WaitForSingleObject(done.get(), INFINITE);
  }
  if (!opening.browser) return {};
  win32::ComPtr<IDispatch> browser;
  if (FAILED(CoGetInterfaceAndReleaseStream(opening.browser, IID_IDispatch, browser.PutVoid())))
    return {};
  return browser;
}

void WindowThreads::Start(const HostOptions& options, int show_command, Opening* opening) {
  std::lock_guard lock(mutex_);
  try {
    threads_.emplace_back(&WindowThreads::Run, this, options, show_command, opening);
  } catch (const std::system_error&) {
    if (opening) SetEvent(opening->done);
  }
}

void WindowThreads::Run(HostOptions options, int show_command, Opening* opening) {
  // Told once, whichever way this ends before the loop.
  auto tell = [&opening] {
    if (opening) SetEvent(std::exchange(opening, nullptr)->done);
  };
  if (FAILED(OleInitialize(nullptr))) {
    tell();
    return;
  }
  try {
    win32::InitCommonControlsOnce();
    HostWindow window(options, show_command, this);
    if (opening) {
      CoMarshalInterThreadInterfaceInStream(IID_IDispatch, window.page_browser(),
                                            &opening->browser);
    }
    tell();
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const Error& error) {
    tell();
    ReportStartFailure(win32::Widen(error.description()));
  } catch (const std::exception&) {
    tell();
    ReportStartFailure(L"out of memory");
  }
  OleUninitialize();
}

void WindowThreads::WaitUntilAllClosed() {
  // A window may open another until its own thread ends, so the list is read anew each time.
  for (;;) {
    std::thread next;
    {
      std::lock_guard lock(mutex_);
      if (threads_.empty()) return;
      next = std::move(threads_.back());
      threads_.pop_back();
    }
    if (next.joinable()) next.join();
  }
}

}  // namespace windlock::host
