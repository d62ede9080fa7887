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
  ThrowIfFailed(document_->createElement(Bstr(name).get(), element.Put()));
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(document_->appendChild(element.get(), appended.Put()));
}

void Win32XmlElement::SetAttribute(const std::string& name, const std::string& value) {
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = Bstr(value).Detach();
  HRESULT result = element_->setAttribute(Bstr(name).get(), text);
  VariantClear(&text);
  ThrowIfFailed(result);
}

ComPtr<IXMLDOMElement> Win32XmlDocument::Root() {
  ComPtr<IXMLDOMElement> root;
  ThrowIfFailed(document_->get_documentElement(root.Put()));
  if (!root) throw ErrorFromHresult(E_POINTER);
  return root;
}

std::vector<std::unique_ptr<XmlElement>> Win32XmlDocument::RootChildren() {
  std::vector<std::unique_ptr<XmlElement>> children;
  ComPtr<IXMLDOMNode> node;
  ThrowIfFailed(Root()->get_firstChild(node.Put()));
  while (node) {
    auto element = node.As<IXMLDOMElement>();
    if (element) children.push_back(std::make_unique<Win32XmlElement>(std::move(element)));
    ComPtr<IXMLDOMNode> next;
    ThrowIfFailed(node->get_nextSibling(next.Put()));
    node = std::move(next);
  }
  return children;
}

std::unique_ptr<XmlElement> Win32XmlDocument::AppendToRoot(const std::string& name) {
  ComPtr<IXMLDOMElement> element;
  ThrowIfFailed(document_->createElement(Bstr(name).get(), element.Put()));
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(Root()->appendChild(element.get(), appended.Put()));
  return std::make_unique<Win32XmlElement>(std::move(element));
}

void Win32XmlDocument::RemoveRootChild(std::size_t index) {
  ComPtr<IXMLDOMElement> root = Root();
  std::size_t position = 0;
  ComPtr<IXMLDOMNode> node;
  ThrowIfFailed(root->get_firstChild(node.Put()));
  while (node) {
    if (node.As<IXMLDOMElement>() && position++ == index) {
      ComPtr<IXMLDOMNode> removed;
      ThrowIfFailed(root->removeChild(node.get(), removed.Put()));
      return;
    }
    ComPtr<IXMLDOMNode> next;
    ThrowIfFailed(node->get_nextSibling(next.Put()));
    node = std::move(next);
  }
  throw ErrorFromHresult(E_INVALIDARG);
}

}  // namespace windlock::win32
