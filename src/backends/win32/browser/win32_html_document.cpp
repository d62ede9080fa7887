#include "backends/win32/browser/win32_html_document.h"

#include "backends/win32/browser/script_call.h"
#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "common/error.h"

namespace windlock::win32 {

bool Win32HtmlDocument::Is(const ComPtr<IHTMLDocument2>& document) const {
  return document_.As<IUnknown>().get() == document.As<IUnknown>().get();
}

ComPtr<IHTMLElement> Win32HtmlDocument::Element(const std::string& id) {
  auto document = document_.As<IHTMLDocument3>();
  if (!document) throw ErrorFromHresult(E_NOINTERFACE);
  ComPtr<IHTMLElement> element;
  ThrowIfFailed(document->getElementById(ToBstr(id).get(), element.Put()));
  return element;
}

Variant Win32HtmlDocument::CallFunction(const std::string& name, const std::vector<Variant>& args) {
  // Held here: the call may re-enter the core, which may let go of this document.
  ComPtr<IDispatch> script;
  ThrowIfFailed(document_->get_Script(script.Put()));
  if (!script) throw ObjectRequired();
  return CallByName(*script.get(), name, args);
}

void Win32HtmlDocument::SetInnerHtml(const std::string& id, const std::string& html) {
  ComPtr<IHTMLElement> element = Element(id);
  if (!element) throw ObjectRequired();
  ThrowIfFailed(element->put_innerHTML(ToBstr(html).get()));
}

HtmlOptions* Win32HtmlDocument::SelectOptions(const std::string& id) {
  DeleteWhenCallsEnd(std::move(options_));
  auto select = Element(id).As<IHTMLSelectElement>();
  if (select) options_ = std::make_unique<Win32HtmlOptions>(std::move(select), document_);
  return options_.get();
}

void Win32HtmlDocument::SetWindowName(const std::string& name) {
  ComPtr<IHTMLWindow2> window;
  ThrowIfFailed(document_->get_parentWindow(window.Put()));
  if (!window) throw ObjectRequired();
  ThrowIfFailed(window->put_name(ToBstr(name).get()));
}

void Win32HtmlDocument::SetBodyOverflow(const std::string& overflow) {
  ComPtr<IHTMLElement> body;
  ThrowIfFailed(document_->get_body(body.Put()));
  if (!body) throw ObjectRequired();
  ComPtr<IHTMLStyle> style;
  ThrowIfFailed(body->get_style(style.Put()));
  if (!style) throw ObjectRequired();
  ThrowIfFailed(style->put_overflow(ToBstr(overflow).get()));
}

HtmlDocument* CurrentDocument::Update(IDispatch* shown) {
  auto document = ComPtr<IDispatch>::Share(shown).As<IHTMLDocument2>();
  if (!document) {
    DeleteWhenCallsEnd(std::move(document_));
    return nullptr;
  }
  if (!document_ || !document_->Is(document)) {
    DeleteWhenCallsEnd(std::move(document_));
    document_ = std::make_unique<Win32HtmlDocument>(std::move(document));
  }
  return document_.get();
}

}  // namespace windlock::win32
