#include "backends/win32/browser/win32_html_options.h"

#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/com/win32_error.h"
#include "common/error.h"

namespace windlock::win32 {

std::size_t Win32HtmlOptions::length() {
  LONG length = 0;
  ThrowIfFailed(select_->get_length(&length));
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

ComPtr<IHTMLOptionElement> Win32HtmlOptions::Option(std::size_t index) {
  if (index >= length()) throw ObjectRequired();
  // A number as the name picks the option at that position.
  OwnedVariant position{Variant(static_cast<int32_t>(index))};
  OwnedVariant first{Variant(0)};
  ComPtr<IDispatch> item;
  ThrowIfFailed(select_->item(*position.get(), *first.get(), item.Put()));
  auto option = item.As<IHTMLOptionElement>();
  if (!option) throw ObjectRequired();
  return option;
}

std::string Win32HtmlOptions::Value(std::size_t index) {
  Bstr value;
  ThrowIfFailed(Option(index)->get_value(value.Put()));
  return FromBstr(value.get());
}

std::string Win32HtmlOptions::Text(std::size_t index) {
  Bstr text;
  ThrowIfFailed(Option(index)->get_text(text.Put()));
  return FromBstr(text.get());
}

void Win32HtmlOptions::SetText(std::size_t index, const std::string& text) {
  ThrowIfFailed(Option(index)->put_text(ToBstr(text).get()));
}

bool Win32HtmlOptions::Selected(std::size_t index) {
  VARIANT_BOOL selected = VARIANT_FALSE;
  ThrowIfFailed(Option(index)->get_selected(&selected));
  return selected != VARIANT_FALSE;
}

void Win32HtmlOptions::SetSelected(std::size_t index, bool selected) {
  ThrowIfFailed(Option(index)->put_selected(selected ? VARIANT_TRUE : VARIANT_FALSE));
}

void Win32HtmlOptions::Add(const std::string& value, const std::string& text) {
  ComPtr<IHTMLElement> element;
  ThrowIfFailed(document_->createElement(ToBstr("OPTION").get(), element.Put()));
  auto option = element.As<IHTMLOptionElement>();
  if (!option) throw ErrorFromHresult(E_NOINTERFACE);
  ThrowIfFailed(option->put_value(ToBstr(value).get()));
  ThrowIfFailed(option->put_text(ToBstr(text).get()));
  // No position: at the end.
  OwnedVariant at_end;
  ThrowIfFailed(select_->add(element.get(), *at_end.get()));
}

void Win32HtmlOptions::Remove(std::size_t index) {
  if (index >= length()) return;
  ThrowIfFailed(select_->remove(static_cast<LONG>(index)));
}

}  // namespace windlock::win32
