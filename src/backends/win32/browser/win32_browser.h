#pragma once

#include <exdisp.h>

#include <map>

#include "backends/win32/browser/win32_html_document.h"
#include "backends/win32/com/com_ptr.h"
#include "platform/browser.h"

namespace windlock::win32 {

class BrowserEventSink;

// An IWebBrowser2: the hosting browser from the band's site, or one of the bar's own browsers.
// Its DWebBrowserEvents2 reach the core through a sink advised on its connection point.
class Win32Browser : public Browser {
 public:
  explicit Win32Browser(ComPtr<IWebBrowser2> browser);
  ~Win32Browser() override;

  std::string LocationURL() override;
  void Navigate2(const NavigateRequest& request) override;
  void Stop() override;
  void Quit() override;
  void ShowBrowserBar(const std::string& clsid, bool show) override;
  // The HTML document shown, valid until the next call (and while a guarded call that was under
  // way then lasts); none while nothing or no HTML is shown.
  HtmlDocument* Document() override;
  void Advise(BrowserEvents* events) override;
  void Unadvise(BrowserEvents* events) override;

  // The browser as the object a NewWindow2 handler hands back.
  IDispatch* Dispatch() const;

 private:
  struct Connection {
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    ComPtr<BrowserEventSink> sink;
  };

  ComPtr<IWebBrowser2> browser_;
  std::map<BrowserEvents*, Connection> connections_;
  CurrentDocument document_;
};

}  // namespace windlock::win32
