#include "backends/win32/win32_skin_browser.h"

namespace windlock::win32 {

Win32SkinBrowser::Win32SkinBrowser(std::unique_ptr<BrowserPane> pane)
    : Win32Browser(pane->host().browser()), pane_(std::move(pane)) {}

}  // namespace windlock::win32
