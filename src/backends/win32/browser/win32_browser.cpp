#include "backends/win32/browser/win32_browser.h"

#include <exdispid.h>
#include <ocidl.h>

#include "backends/win32/browser/browser_event_sink.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

Win32Browser::Win32Browser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}

Win32Browser::~Win32Browser() {
  while (!connections_.empty()) Unadvise(connections_.begin()->first);
}

std::string Win32Browser::LocationURL() {
  Bstr location;
  ThrowIfFailed(browser_->get_LocationURL(location.Put()));
  return FromBstr(location.get());
}

void Win32Browser::Navigate2(const NavigateRequest& request) {
  OwnedVariant url(request.url);
  OwnedVariant flags(request.flags);
  OwnedVariant target(request.target_frame_name);
  OwnedVariant post_data(request.post_data);
  OwnedVariant headers(request.headers);
  ThrowIfFailed(
      browser_->Navigate2(url.get(), flags.get(), target.get(), post_data.get(), headers.get()));
}

void Win32Browser::Stop() {
  ThrowIfFailed(browser_->Stop());
}

void Win32Browser::Quit() {
  ThrowIfFailed(browser_->Quit());
}

void Win32Browser::ShowBrowserBar(const std::string& clsid, bool show) {
  OwnedVariant bar{Variant(clsid)};
  OwnedVariant shown = OwnedVariant::Boolean(show);
  OwnedVariant size;
  ThrowIfFailed(browser_->ShowBrowserBar(bar.get(), shown.get(), size.get()));
}

HtmlDocument* Win32Browser::Document() {
  ComPtr<IDispatch> shown;
  if (FAILED(browser_->get_Document(shown.Put()))) shown.Reset();
  return document_.Update(shown.get());
}

void Win32Browser::Advise(BrowserEvents* events) {
  auto container = browser_.As<IConnectionPointContainer>();
  if (!container) throw ErrorFromHresult(E_NOINTERFACE);
  Connection connection;
  ThrowIfFailed(container->FindConnectionPoint(DIID_DWebBrowserEvents2, connection.point.Put()));
  connection.sink = BrowserEventSink::Make(events);
  ThrowIfFailed(connection.point->Advise(connection.sink.get(), &connection.cookie));
  connections_[events] = std::move(connection);
}

void Win32Browser::Unadvise(BrowserEvents* events) {
  auto found = connections_.find(events);
  if (found == connections_.end()) return;
  Connection connection = std::move(found->second);
  connections_.erase(found);
  connection.sink->Disconnect();
  connection.point->Unadvise(connection.cookie);
}

IDispatch* Win32Browser::Dispatch() const {
  return browser_.get();
}

}  // namespace windlock::win32
