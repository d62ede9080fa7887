#include "support/dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "support/dll_under_test.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

std::function<void(HWND)> g_answer;

// WM_INITDIALOG has been handled: the dialog's texts are in place and it is about to be shown.
LRESULT CALLBACK AfterWindowProcedure(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && ClassOf(call->hwnd) == L"#32770") {
    if (g_answer) {
      g_answer(call->hwnd);
    } else {
      std::wstring texts;
      for (HWND child : Descendants(call->hwnd)) {
        if (!TextOf(child).empty()) texts += L" [" + TextOf(child) + L"]";
      }
      ADD_FAILURE() << "a dialog box opened: \"" << Narrow(TextOf(call->hwnd)) << "\""
                    << Narrow(texts);
      // Handled once the dialog's own message loop runs. Wine's message box ends on IDCANCEL
      // whatever its buttons (Windows' does too unless it has neither Cancel nor a lone OK).
      PostMessageW(call->hwnd, WM_COMMAND, IDCANCEL, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

ModalGuard::ModalGuard()
    : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, AfterWindowProcedure, nullptr,
                              GetCurrentThreadId())) {
  EXPECT_NE(nullptr, hook_) << "SetWindowsHookEx failed: " << GetLastError();
}

ModalGuard::~ModalGuard() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

DialogAnswers::DialogAnswers(std::function<void(HWND)> answer) {
  g_answer = std::move(answer);
}

DialogAnswers::~DialogAnswers() {
  g_answer = nullptr;
}

}  // namespace windlock_test
