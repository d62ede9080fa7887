#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>

#include "platform/xml_document.h"

namespace windlock::sim {

// An XML document on pugixml.
class SimXmlDocument : public XmlDocument {
 public:
  void AppendRootElement(const std::string& name) override;

  // The document in canonical form: <name a="v"/> for an empty element, attributes in document
  // order, & < > " escaped in attributes and & < > in text, nothing added.
  std::string Canonical() const;

 private:
  pugi::xml_document document_;
};

class SimXmlFactory : public XmlFactory {
 public:
  std::unique_ptr<XmlDocument> CreateDocument() override {
    return std::make_unique<SimXmlDocument>();
  }
};

}  // namespace windlock::sim
