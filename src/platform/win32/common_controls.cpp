#include "platform/win32/common_controls.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <mutex>

#include "platform/win32/win32_error.h"

namespace windlock::win32 {

void InitCommonControlsOnce() {
  static std::once_flag done;
  // A call that throws leaves the flag unset.
  std::call_once(done, [] {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS |
                                                     ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES};
    if (!InitCommonControlsEx(&classes)) throw ErrorFromHresult(E_FAIL);
  });
}

}  // namespace windlock::win32
