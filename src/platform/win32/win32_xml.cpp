#include "platform/win32/win32_xml.h"

#include "platform/win32/text.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {

Win32XmlDocument::Win32XmlDocument() {
  CLSID document_class{};
  ThrowIfFailed(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &document_class));
  ThrowIfFailed(CoCreateInstance(document_class, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                 document_.PutVoid()));
}

void Win32XmlDocument::AppendRootElement(const std::string& name) {
  ComPtr<IXMLDOMElement> element;
  ThrowIfFailed(document_->createElement(Bstr(name).Get(), element.Put()));
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(document_->appendChild(element.Get(), appended.Put()));
}

}  // namespace windlock::win32
