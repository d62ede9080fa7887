#pragma once

#include <windows.h>

namespace windlock_test {

// While it lives, a dialog box (a message box or any other window of the dialog class) that
// opens on this thread fails the running test, naming its title and texts, and is closed at
// once: a headless run would otherwise wait for a click until its time limit.
class ModalGuard {
 public:
  ModalGuard();
  ~ModalGuard();
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace windlock_test
