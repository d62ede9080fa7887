#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace windlock {

class XmlDocument;
class XmlNode;

// A value as it crosses to and from the browser and the skin's script: empty, a number, text,
// raw bytes, or an XML document or another XML node (an element) the script holds. Request values
// are kept unchanged so that a captured request can be sent again exactly.
class Variant {
 public:
  using Bytes = std::vector<uint8_t>;

  Variant() = default;
  Variant(int32_t number) : value_(number) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(const char* text) : value_(std::string(text)) {}
  Variant(Bytes bytes) : value_(std::move(bytes)) {}
  Variant(std::shared_ptr<XmlDocument> document) : value_(std::move(document)) {}
  Variant(std::shared_ptr<XmlNode> node) : value_(std::move(node)) {}

  bool empty() const { return std::holds_alternative<std::monostate>(value_); }
  bool is_number() const { return std::holds_alternative<int32_t>(value_); }
  bool is_text() const { return std::holds_alternative<std::string>(value_); }
  bool is_bytes() const { return std::holds_alternative<Bytes>(value_); }
  bool is_document() const { return std::holds_alternative<std::shared_ptr<XmlDocument>>(value_); }
  // An XML node that is not a document.
  bool is_node() const { return std::holds_alternative<std::shared_ptr<XmlNode>>(value_); }

  int32_t number() const { return std::get<int32_t>(value_); }
  const std::string& text() const { return std::get<std::string>(value_); }
  const Bytes& bytes() const { return std::get<Bytes>(value_); }
  const std::shared_ptr<XmlDocument>& document() const {
    return std::get<std::shared_ptr<XmlDocument>>(value_);
  }
  const std::shared_ptr<XmlNode>& node() const {
    return std::get<std::shared_ptr<XmlNode>>(value_);
  }

  // The value as text: empty for empty, documents and nodes, decimal for numbers, bytes taken as
  // they are.
  std::string ToText() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  std::variant<std::monostate, int32_t, std::string, Bytes, std::shared_ptr<XmlDocument>,
               std::shared_ptr<XmlNode>>
      value_;
};

}  // namespace windlock
