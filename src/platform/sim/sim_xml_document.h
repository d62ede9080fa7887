#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

#include "platform/xml_document.h"

namespace windlock::sim {

// One element of a SimXmlDocument.
class SimXmlElement : public XmlElement {
 public:
  explicit SimXmlElement(pugi::xml_node node) : node_(node) {}
  void SetAttribute(const std::string& name, const std::string& value) override;

 private:
  pugi::xml_node node_;
};

// An XML document on pugixml.
class SimXmlDocument : public XmlDocument {
 public:
  void AppendRootElement(const std::string& name) override;
  std::vector<std::unique_ptr<XmlElement>> RootChildren() override;
  std::unique_ptr<XmlElement> AppendToRoot(const std::string& name) override;
  void RemoveRootChild(std::size_t index) override;

  // The document in canonical form: <name a="v"/> for an empty element, attributes in document
  // order, & < > " escaped in attributes and & < > in text, nothing added.
  std::string Canonical() const;

 private:
  // The root element; fails when the document has none.
  pugi::xml_node Root() const;

  pugi::xml_document document_;
  // How many children the last walk found: the next walk's vector is sized once.
  std::size_t last_child_count_ = 0;
};

class SimXmlFactory : public XmlFactory {
 public:
  std::unique_ptr<XmlDocument> CreateDocument() override {
    return std::make_unique<SimXmlDocument>();
  }
};

}  // namespace windlock::sim
