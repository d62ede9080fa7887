#pragma once

#include <windows.h>

#include <mshtml.h>

#include <memory>

#include "backends/win32/browser/win32_html_options.h"
#include "backends/win32/com/com_ptr.h"
#include "platform/browser.h"

namespace windlock::win32 {

// An MSHTML document. The options SelectOptions hands out stay valid until its next call, and
// while a guarded call that was under way then lasts.
class Win32HtmlDocument : public HtmlDocument {
 public:
  explicit Win32HtmlDocument(ComPtr<IHTMLDocument2> document) : document_(std::move(document)) {}

  // Whether this is that document (the same COM object).
  bool Is(const ComPtr<IHTMLDocument2>& document) const;

  Variant CallFunction(const std::string& name, const std::vector<Variant>& args) override;
  bool HasElement(const std::string& id) override { return static_cast<bool>(Element(id)); }
  void SetInnerHtml(const std::string& id, const std::string& html) override;
  HtmlOptions* SelectOptions(const std::string& id) override;
  void SetWindowName(const std::string& name) override;
  void SetBodyOverflow(const std::string& overflow) override;

 private:
  // The element with that id; none when the page has none.
  ComPtr<IHTMLElement> Element(const std::string& id);

  ComPtr<IHTMLDocument2> document_;
  std::unique_ptr<Win32HtmlOptions> options_;
};

// The document a browser shows, as the core reaches it. While the browser shows the same
// document the core gets the same object, so a page call that makes the browser re-enter the
// core (a page's moveTo raises its window events before it returns) outlives the nested calls.
class CurrentDocument {
 public:
  // The HTML document `shown`; none when nothing is shown or it is not HTML.
  HtmlDocument* Update(IDispatch* shown);

 private:
  std::unique_ptr<Win32HtmlDocument> document_;
};

}  // namespace windlock::win32
