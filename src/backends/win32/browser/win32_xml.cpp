#include "backends/win32/browser/win32_xml.h"

#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

Win32XmlDocument::Win32XmlDocument() {
  CLSID document_class{};
  ThrowIfFailed(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &document_class));
  ThrowIfFailed(CoCreateInstance(document_class, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                 document_.PutVoid()));
}

void Win32XmlDocument::AppendRootElement(const std::string& name) {
  ComPtr<IXMLDOMElement> element;
  ThrowIfFailed(document_->createElement(ToBstr(name).get(), element.Put()));
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(document_->appendChild(element.get(), appended.Put()));
}

void Win32XmlElement::SetAttribute(const std::string& name, const std::string& value) {
  OwnedVariant text{Variant(value)};
  ThrowIfFailed(element_->setAttribute(ToBstr(name).get(), *text.get()));
}

ComPtr<IXMLDOMElement> Win32XmlDocument::Root() const {
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
  ThrowIfFailed(document_->createElement(ToBstr(name).get(), element.Put()));
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

std::unique_ptr<XmlDocument> Win32XmlDocument::Clone() const {
  ComPtr<IXMLDOMNode> copy;
  ThrowIfFailed(document_->cloneNode(VARIANT_TRUE, copy.Put()));
  auto document = copy.As<IXMLDOMDocument>();
  if (!document) throw ErrorFromHresult(E_NOINTERFACE);
  return std::unique_ptr<XmlDocument>(new Win32XmlDocument(std::move(document)));
}

bool Win32XmlDocument::Load(const std::string& path) {
  ThrowIfFailed(document_->put_async(VARIANT_FALSE));
  ThrowIfFailed(document_->put_resolveExternals(VARIANT_FALSE));
  ThrowIfFailed(document_->put_validateOnParse(VARIANT_FALSE));
  // Older MSXML versions do not know the property; they then load no external entities anyway.
  if (auto settable = document_.As<IXMLDOMDocument2>()) {
    OwnedVariant prohibit = OwnedVariant::Boolean(true);
    settable->setProperty(ToBstr("ProhibitDTD").get(), *prohibit.get());
  }
  OwnedVariant file{Variant(path)};
  VARIANT_BOOL loaded = VARIANT_FALSE;
  ThrowIfFailed(document_->load(*file.get(), &loaded));
  return loaded != VARIANT_FALSE;
}

void Win32XmlDocument::Save(const std::string& path) {
  OwnedVariant file{Variant(path)};
  ThrowIfFailed(document_->save(*file.get()));
}

ComPtr<IXMLDOMNode> Win32XmlDocument::CopyOfRoot() const {
  ComPtr<IXMLDOMNode> copy;
  ThrowIfFailed(Root()->cloneNode(VARIANT_TRUE, copy.Put()));
  return copy;
}

void Win32XmlDocument::AppendCopyOfRoot(const XmlDocument& source) {
  ComPtr<IXMLDOMNode> copy = dynamic_cast<const Win32XmlDocument&>(source).CopyOfRoot();
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(document_->appendChild(copy.get(), appended.Put()));
}

void Win32XmlNode::AppendCopyOfRoot(const XmlDocument& source) {
  ComPtr<IXMLDOMNode> copy = dynamic_cast<const Win32XmlDocument&>(source).CopyOfRoot();
  ComPtr<IXMLDOMNode> appended;
  ThrowIfFailed(node_->appendChild(copy.get(), appended.Put()));
}

}  // namespace windlock::win32
