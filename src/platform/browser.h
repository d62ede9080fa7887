#pragma once

#include <string>
#include <vector>

#include "common/variant.h"

namespace windlock {

class Browser;

// One navigation request; an empty Variant is an omitted argument.
struct NavigateRequest {
  Variant url;
  Variant flags;
  Variant target_frame_name;
  Variant post_data;
  Variant headers;

  // A navigation to an address with every other argument omitted.
  static NavigateRequest To(std::string address) { return {std::move(address), {}, {}, {}, {}}; }
};

// A select element's option list.
class HtmlOptions {
 public:
  virtual ~HtmlOptions() = default;
  virtual std::size_t length() = 0;
  virtual std::string Value(std::size_t index) = 0;
  virtual std::string Text(std::size_t index) = 0;
  virtual void SetText(std::size_t index, const std::string& text) = 0;
  virtual bool Selected(std::size_t index) = 0;
  virtual void SetSelected(std::size_t index, bool selected) = 0;
  // Creates an OPTION element and adds it at the end.
  virtual void Add(const std::string& value, const std::string& text) = 0;
  virtual void Remove(std::size_t index) = 0;
};

// The HTML document a browser shows. Real: MSHTML (win32). Fake: SimDocument.
class HtmlDocument {
 public:
  virtual ~HtmlDocument() = default;
  // Calls a script function of the page by name on its parentWindow; fails with an Error when
  // the page has no such function.
  virtual Variant CallFunction(const std::string& name, const std::vector<Variant>& args) = 0;
  virtual bool HasElement(const std::string& id) = 0;
  // Sets the inner HTML of the element with that id; fails when there is none.
  virtual void SetInnerHtml(const std::string& id, const std::string& html) = 0;
  // The options of the select element with that id, or none.
  virtual HtmlOptions* SelectOptions(const std::string& id) = 0;
  // The name of the document's window (parentWindow.name).
  virtual void SetWindowName(const std::string& name) = 0;
  // The overflow style of the document's body.
  virtual void SetBodyOverflow(const std::string& overflow) = 0;
};

// DWebBrowserEvents2 as the bar receives them; every handler is optional.
class BrowserEvents {
 public:
  virtual ~BrowserEvents() = default;
  virtual void NewWindow2(Browser*& /*ppDisp*/, bool& /*cancel*/) {}
  virtual void BeforeNavigate2(const NavigateRequest& /*request*/, bool& /*cancel*/) {}
  virtual void DocumentComplete(const std::string& /*url*/) {}
  virtual void TitleChange(const std::string& /*text*/) {}
  virtual void WindowClosing(bool /*is_child_window*/, bool& /*cancel*/) {}
  // WindowSetLeft, WindowSetTop, WindowSetWidth, WindowSetHeight: the page asks to move or size
  // its window.
  virtual void WindowSetPosition() {}
  virtual void OnQuit() {}
};

// IWebBrowser2 as the bar uses it. Real: the shell's WebBrowser (win32). Fake: SimBrowser.
class Browser {
 public:
  virtual ~Browser() = default;

  virtual std::string LocationURL() = 0;
  virtual void Navigate2(const NavigateRequest& request) = 0;
  virtual void Stop() = 0;
  virtual void Quit() = 0;
  // Shows or hides the Explorer Bar of the given class (braced identifier).
  virtual void ShowBrowserBar(const std::string& clsid, bool show) = 0;
  // The document shown, or none.
  virtual HtmlDocument* Document() = 0;

  // Connects or disconnects an event sink.
  virtual void Advise(BrowserEvents* events) = 0;
  virtual void Unadvise(BrowserEvents* events) = 0;
};

// The preview control MyWeb2: takes download-control flags and hands out its inner browser.
class PreviewControl {
 public:
  virtual ~PreviewControl() = default;
  virtual void SetDownloadControl(int32_t flags) = 0;
  virtual Browser& InnerBrowser() = 0;
};

}  // namespace windlock
