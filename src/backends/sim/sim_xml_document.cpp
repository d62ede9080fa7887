#include "backends/sim/sim_xml_document.h"

#include <optional>
#include <sstream>

#include "backends/sim/script_errors.h"
#include "backends/sim/sim_file_system.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

// Without parse_doctype a DOCTYPE is skipped, and pugixml never expands entities it declares.
// Parsed as a fragment, so that text beside the root is kept for OneRootOnly to refuse.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_fragment;

// A document holds one root element and, beside it, only markup.
bool OneRootOnly(const pugi::xml_document& document) {
  int roots = 0;
  for (const pugi::xml_node& node : document.children()) {
    if (node.type() == pugi::node_element) {
      ++roots;
    } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
      return false;
    }
  }
  return roots == 1;
}

std::string Escape(const char* text, bool attribute) {
  std::string escaped;
  for (const char* c = text; *c; ++c) {
    switch (*c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += attribute ? "&quot;" : "\"";
        break;
      default:
        escaped += *c;
    }
  }
  return escaped;
}

void Write(const pugi::xml_node& node, std::string& out) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
    out += Escape(node.value(), false);
    return;
  }
  if (node.type() != pugi::node_element) return;
  out += "<";
  out += node.name();
  for (const pugi::xml_attribute& attribute : node.attributes()) {
    out += " ";
    out += attribute.name();
    out += "=\"" + Escape(attribute.value(), true) + "\"";
  }
  if (!node.first_child()) {
    out += "/>";
    return;
  }
  out += ">";
  for (const pugi::xml_node& child : node.children()) Write(child, out);
  out += "</";
  out += node.name();
  out += ">";
}

}  // namespace

void SimXmlElement::SetAttribute(const std::string& name, const std::string& value) {
  pugi::xml_attribute attribute = node_.attribute(name.c_str());
  if (!attribute) {
    attribute = node_.append_attribute(name.c_str());
  } else if (value == attribute.value()) {
    // Most updates write back what is there; leave the stored text alone.
    return;
  }
  attribute.set_value(value.c_str());
}

void SimXmlDocument::AppendRootElement(const std::string& name) {
  document_.append_child(name.c_str());
}

std::vector<std::unique_ptr<XmlElement>> SimXmlDocument::RootChildren() {
  std::vector<std::unique_ptr<XmlElement>> children;
  children.reserve(last_child_count_);
  for (pugi::xml_node child = Root().first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element)
      children.push_back(std::make_unique<SimXmlElement>(child));
  }
  last_child_count_ = children.size();
  return children;
}

std::unique_ptr<XmlElement> SimXmlDocument::AppendToRoot(const std::string& name) {
  return std::make_unique<SimXmlElement>(Root().append_child(name.c_str()));
}

void SimXmlDocument::RemoveRootChild(std::size_t index) {
  pugi::xml_node root = Root();
  for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (index-- == 0) {
      root.remove_child(child);
      return;
    }
  }
  throw ObjectRequired();
}

std::unique_ptr<XmlDocument> SimXmlDocument::Clone() const {
  auto copy = std::make_unique<SimXmlDocument>(files_);
  copy->document_.reset(document_);
  return copy;
}

bool SimXmlDocument::Load(const std::string& path) {
  std::optional<std::string> text = files_.ReadFile(path);
  if (!text) {
    document_.reset();
    return false;
  }
  return LoadXml(*text);
}

bool SimXmlDocument::LoadXml(const std::string& text) {
  pugi::xml_parse_result parsed =
      document_.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (parsed && OneRootOnly(document_)) return true;
  document_.reset();
  return false;
}

void SimXmlDocument::Save(const std::string& path) {
  std::ostringstream text;
  document_.save(text, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  files_.WriteFile(path, text.str());
}

void SimXmlDocument::AppendCopyOfRoot(const XmlDocument& source) {
  const auto* other = dynamic_cast<const SimXmlDocument*>(&source);
  if (!other) throw Error(kErrTypeMismatch, "Type mismatch");
  pugi::xml_node root = other->Root();
  if (document_.document_element()) {
    throw Error(kErrDomFailure, "Only one top level element is allowed in an XML document.");
  }
  document_.append_copy(root);
}

void SimXmlDocument::AppendCopyOfRootUnderRoot(const XmlDocument& source) {
  const auto* other = dynamic_cast<const SimXmlDocument*>(&source);
  if (!other) throw Error(kErrTypeMismatch, "Type mismatch");
  Root().append_copy(other->Root());
}

pugi::xml_node SimXmlDocument::Root() const {
  pugi::xml_node root = document_.document_element();
  if (!root) throw ObjectRequired();
  return root;
}

std::string SimXmlDocument::Canonical() const {
  std::string out;
  for (const pugi::xml_node& child : document_.children()) Write(child, out);
  return out;
}

std::string CanonicalText(const XmlDocument* document) {
  auto* simulated = dynamic_cast<const SimXmlDocument*>(document);
  return simulated ? simulated->Canonical() : "none";
}

std::unique_ptr<XmlDocument> SimXmlFactory::CreateDocument() {
  if (unavailable_) throw Error(kErrCannotCreateObject, "ActiveX component can't create object");
  return std::make_unique<SimXmlDocument>(files_);
}

}  // namespace windlock::sim
