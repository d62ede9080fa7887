#pragma once

#include <windows.h>

#include <mshtml.h>

#include "backends/win32/com/com_ptr.h"
#include "platform/browser.h"

namespace windlock::win32 {

// The option list of an MSHTML select element; `document` makes the options Add puts in.
class Win32HtmlOptions : public HtmlOptions {
 public:
  Win32HtmlOptions(ComPtr<IHTMLSelectElement> select, ComPtr<IHTMLDocument2> document)
      : select_(std::move(select)), document_(std::move(document)) {}

  std::size_t length() override;
  std::string Value(std::size_t index) override;
  std::string Text(std::size_t index) override;
  void SetText(std::size_t index, const std::string& text) override;
  bool Selected(std::size_t index) override;
  void SetSelected(std::size_t index, bool selected) override;
  void Add(const std::string& value, const std::string& text) override;
  // A position past the end removes nothing, as the element's own remove does.
  void Remove(std::size_t index) override;

 private:
  // The option at that position; fails as a script does on a missing one ("Object required").
  ComPtr<IHTMLOptionElement> Option(std::size_t index);

  ComPtr<IHTMLSelectElement> select_;
  ComPtr<IHTMLDocument2> document_;
};

}  // namespace windlock::win32
