#pragma once

#include <windows.h>

#include <functional>

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

// While it lives, a dialog box that opens on this thread is expected: it is handed to `answer`
// once its texts are in place, which ends it (a posted command), instead of failing the test.
class DialogAnswers {
 public:
  explicit DialogAnswers(std::function<void(HWND dialog)> answer);
  ~DialogAnswers();
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;
};

}  // namespace windlock_test
