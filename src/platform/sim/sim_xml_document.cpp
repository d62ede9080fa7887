#include "platform/sim/sim_xml_document.h"

namespace windlock::sim {
namespace {

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

void SimXmlDocument::AppendRootElement(const std::string& name) {
  document_.append_child(name.c_str());
}

std::string SimXmlDocument::Canonical() const {
  std::string out;
  for (const pugi::xml_node& child : document_.children()) Write(child, out);
  return out;
}

}  // namespace windlock::sim
