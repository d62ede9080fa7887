#pragma once

#include <memory>
#include <string>
#include <vector>

namespace windlock {

// One element of an XML document, valid while the element is in the document.
class XmlElement {
 public:
  virtual ~XmlElement() = default;
  virtual void SetAttribute(const std::string& name, const std::string& value) = 0;
};

class XmlDocument;

// A node that takes children: a document, or an element a script hands the bar.
class XmlNode {
 public:
  virtual ~XmlNode() = default;
  // Appends a deep copy of `source`'s root element as this node's last child; fails when
  // `source` has no root or this node cannot take another child (a document that has its root
  // already).
  virtual void AppendCopyOfRoot(const XmlDocument& source) = 0;
};

// An XML document as the bar uses it. Real: MSXML2 DOMDocument 3.0 (win32). Fake:
// SimXmlDocument on pugixml.
class XmlDocument : public XmlNode {
 public:
  // Creates an element and appends it to the document as its root.
  virtual void AppendRootElement(const std::string& name) = 0;
  // The root element's child elements, in order (one walk, so that a caller can go through
  // them by position without walking again).
  virtual std::vector<std::unique_ptr<XmlElement>> RootChildren() = 0;
  // Creates an element and appends it as the root's last child.
  virtual std::unique_ptr<XmlElement> AppendToRoot(const std::string& name) = 0;
  // Removes the root's child element at that position.
  virtual void RemoveRootChild(std::size_t index) = 0;

  // A deep copy of the whole document.
  virtual std::unique_ptr<XmlDocument> Clone() const = 0;
  // Reads and parses a file, without DTDs or external entities; false when it cannot.
  virtual bool Load(const std::string& path) = 0;
  // Writes the document to a file, replacing it; fails with an Error.
  virtual void Save(const std::string& path) = 0;
};

class XmlFactory {
 public:
  virtual ~XmlFactory() = default;
  virtual std::unique_ptr<XmlDocument> CreateDocument() = 0;
};

}  // namespace windlock
