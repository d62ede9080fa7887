#pragma once

#include <windows.h>

namespace windlock_test {

// Handles every message waiting for this thread, as the browser's message loop would between
// two calls, and those that come until the thread has been quiet for a while: what the bar posted
// itself (its first activation, its windows brought up to date) and what it held back for a screen
// frame happen here.
void PumpMessages();

// Runs the thread's messages until `done` holds; false when `milliseconds` pass first.
template <class Condition>
bool PumpUntil(Condition done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

// Shift held down (or let go) in this thread's keyboard state, which the bar reads.
void HoldShift(bool held);

}  // namespace windlock_test
