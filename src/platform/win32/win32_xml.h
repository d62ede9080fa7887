#pragma once

#include <msxml2.h>

#include "platform/win32/com_ptr.h"
#include "platform/xml_document.h"

namespace windlock::win32 {

// An MSXML2 DOMDocument 3.0.
class Win32XmlDocument : public XmlDocument {
 public:
  Win32XmlDocument();
  void AppendRootElement(const std::string& name) override;

 private:
  ComPtr<IXMLDOMDocument> document_;
};

class Win32XmlFactory : public XmlFactory {
 public:
  std::unique_ptr<XmlDocument> CreateDocument() override {
    return std::make_unique<Win32XmlDocument>();
  }
};

}  // namespace windlock::win32
