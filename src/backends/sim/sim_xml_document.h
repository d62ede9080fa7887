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

class SimFileSystem;

// An XML document on pugixml, reading and writing files of the simulated file system. Like the
// real DOM it keeps the declaration, comments and processing instructions it reads, and leaves
// a DOCTYPE's entities unexpanded.
class SimXmlDocument : public XmlDocument {
 public:
  explicit SimXmlDocument(SimFileSystem& files) : files_(files) {}

  void AppendRootElement(const std::string& name) override;
  std::vector<std::unique_ptr<XmlElement>> RootChildren() override;
  std::unique_ptr<XmlElement> AppendToRoot(const std::string& name) override;
  void RemoveRootChild(std::size_t index) override;
  std::unique_ptr<XmlDocument> Clone() const override;
  // A failed load leaves the document empty.
  bool Load(const std::string& path) override;
  void Save(const std::string& path) override;
  void AppendCopyOfRoot(const XmlDocument& source) override;
  // Appends a deep copy of `source`'s root element as the last child of this document's root.
  void AppendCopyOfRootUnderRoot(const XmlDocument& source);

  // Parses XML text into the document as Load parses a file's; false, and the document empty,
  // when it is not well-formed.
  bool LoadXml(const std::string& text);
  bool HasRoot() const { return document_.document_element(); }
  // The document in canonical form: <name a="v"/> for an empty element, attributes in document
  // order, & < > " escaped in attributes and & < > in text, nothing added.
  std::string Canonical() const;

 private:
  // The root element; fails when the document has none.
  pugi::xml_node Root() const;

  SimFileSystem& files_;
  pugi::xml_document document_;
  // How many children the last walk found: the next walk's vector is sized once.
  std::size_t last_child_count_ = 0;
};

class SimXmlFactory : public XmlFactory {
 public:
  explicit SimXmlFactory(SimFileSystem& files) : files_(files) {}
  // Fails, as creating the parser's object does on a machine without it.
  std::unique_ptr<XmlDocument> CreateDocument() override;
  void SetUnavailable(bool unavailable) { unavailable_ = unavailable; }

 private:
  SimFileSystem& files_;
  bool unavailable_ = false;
};

// A document's canonical form, or "none" when there is no document (or it is not simulated).
std::string CanonicalText(const XmlDocument* document);

// The root element of a document a script made, as the script hands it on: what is appended
// to it goes under the element.
class SimXmlRootNode : public XmlNode {
 public:
  explicit SimXmlRootNode(std::shared_ptr<SimXmlDocument> document)
      : document_(std::move(document)) {}
  void AppendCopyOfRoot(const XmlDocument& source) override {
    document_->AppendCopyOfRootUnderRoot(source);
  }
  const std::shared_ptr<SimXmlDocument>& document() const { return document_; }

 private:
  std::shared_ptr<SimXmlDocument> document_;
};

}  // namespace windlock::sim
