#pragma once

#include <memory>
#include <string>

namespace windlock {

// An XML document as the bar uses it. Real: MSXML2 DOMDocument 3.0 (win32). Fake:
// SimXmlDocument on pugixml.
class XmlDocument {
 public:
  virtual ~XmlDocument() = default;
  // Creates an element and appends it to the document as its root.
  virtual void AppendRootElement(const std::string& name) = 0;
};

class XmlFactory {
 public:
  virtual ~XmlFactory() = default;
  virtual std::unique_ptr<XmlDocument> CreateDocument() = 0;
};

}  // namespace windlock
