#pragma once

#include <msxml2.h>

// MinGW's msxml2.h leaves these out of what __uuidof knows.
__CRT_UUID_DECL(IXMLDOMNode, 0x2933bf80, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e,
                0x60)
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933bf81, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument2, 0x2933bf95, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)

#include "backends/win32/com/com_ptr.h"
#include "platform/xml_document.h"

namespace windlock::win32 {

// An element of an MSXML document.
class Win32XmlElement : public XmlElement {
 public:
  explicit Win32XmlElement(ComPtr<IXMLDOMElement> element) : element_(std::move(element)) {}
  void SetAttribute(const std::string& name, const std::string& value) override;

 private:
  ComPtr<IXMLDOMElement> element_;
};

// An MSXML2 DOMDocument 3.0.
class Win32XmlDocument : public XmlDocument {
 public:
  Win32XmlDocument();
  // A document that already exists, such as one a script hands the bar.
  explicit Win32XmlDocument(ComPtr<IXMLDOMDocument> document) : document_(std::move(document)) {}
  void AppendRootElement(const std::string& name) override;
  std::vector<std::unique_ptr<XmlElement>> RootChildren() override;
  std::unique_ptr<XmlElement> AppendToRoot(const std::string& name) override;
  void RemoveRootChild(std::size_t index) override;
  std::unique_ptr<XmlDocument> Clone() const override;
  bool Load(const std::string& path) override;
  void Save(const std::string& path) override;
  void AppendCopyOfRoot(const XmlDocument& source) override;

  IXMLDOMDocument* get() const { return document_.get(); }
  // A deep copy of the root element, for appending to another node.
  ComPtr<IXMLDOMNode> CopyOfRoot() const;

 private:
  ComPtr<IXMLDOMElement> Root() const;

  ComPtr<IXMLDOMDocument> document_;
};

// A node of an MSXML document other than the document itself, such as an element a script hands
// the bar.
class Win32XmlNode : public XmlNode {
 public:
  explicit Win32XmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}
  void AppendCopyOfRoot(const XmlDocument& source) override;

  IXMLDOMNode* get() const { return node_.get(); }

 private:
  ComPtr<IXMLDOMNode> node_;
};

class Win32XmlFactory : public XmlFactory {
 public:
  std::unique_ptr<XmlDocument> CreateDocument() override {
    return std::make_unique<Win32XmlDocument>();
  }
};

}  // namespace windlock::win32
