#include "backends/sim/sim_html_scanner.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "backends/sim/case_insensitive.h"

namespace windlock::sim {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Elements whose contents a browser reads as text up to their own end tag.
bool IsRawTextElement(std::string_view name) {
  static constexpr std::array<std::string_view, 8> kRawText = {
      "script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"};
  for (std::string_view raw : kRawText) {
    if (EqualsFolded(name, raw)) return true;
  }
  return false;
}

void AppendUtf8(uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The character a reference (the part between & and ;) stands for, or none.
bool DecodeReference(std::string_view reference, std::string& out) {
  struct Named {
    std::string_view name;
    uint32_t code;
  };
  static constexpr std::array<Named, 6> kNamed = {
      {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}}};
  if (reference.starts_with('#')) {
    std::string_view digits = reference.substr(1);
    int base = 10;
    if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
      digits.remove_prefix(1);
      base = 16;
    }
    uint32_t code = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    AppendUtf8(code, out);
    return true;
  }
  for (const Named& named : kNamed) {
    if (reference == named.name) {
      AppendUtf8(named.code, out);
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::string_view> HtmlToken::Attribute(std::string_view attribute_name) const {
  for (const HtmlAttribute& attribute : attributes) {
    if (EqualsFolded(attribute.name, attribute_name)) return attribute.value;
  }
  return std::nullopt;
}

bool HtmlScanner::Next(HtmlToken& token) {
  token.attributes.clear();
  if (!raw_text_of_.empty()) {
    std::size_t end = FindRawTextEnd(raw_text_of_);
    raw_text_of_ = {};
    if (end > at_) {
      token.kind = HtmlToken::Kind::kText;
      token.text = text_.substr(at_, end - at_);
      at_ = end;
      return true;
    }
  }
  while (at_ < text_.size()) {
    char next = at_ + 1 < text_.size() ? text_[at_ + 1] : '\0';
    if (text_[at_] == '<') {
      if (next == '!') {
        bool comment = text_.substr(at_, 4) == "<!--";
        at_ += comment ? 4 : 2;
        SkipPast(comment ? "-->" : ">");
        continue;
      }
      if (next == '?') {
        at_ += 2;
        SkipPast(">");
        continue;
      }
      if (next == '/') {
        if (EndTag(token)) return true;
        continue;
      }
      if (IsLetter(next)) {
        if (StartTag(token)) return true;
        continue;
      }
    }
    // Text up to the next '<' that is not this one.
    std::size_t end = text_.find('<', at_ + 1);
    if (end == kNpos) end = text_.size();
    token.kind = HtmlToken::Kind::kText;
    token.text = text_.substr(at_, end - at_);
    at_ = end;
    return true;
  }
  return false;
}

bool HtmlScanner::StartTag(HtmlToken& token) {
  std::size_t i = at_ + 1;
  std::size_t name_start = i;
  while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '/' && text_[i] != '>') ++i;
  std::string_view name = text_.substr(name_start, i - name_start);
  for (;;) {
    while (i < text_.size() && (IsSpace(text_[i]) || text_[i] == '/')) ++i;
    if (i >= text_.size()) break;
    if (text_[i] == '>') {
      token.kind = HtmlToken::Kind::kStartTag;
      token.name = name;
      at_ = i + 1;
      if (IsRawTextElement(name)) raw_text_of_ = name;
      return true;
    }
    // An attribute name is at least one character, so every round moves on.
    std::size_t attribute_start = i++;
    while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '/' && text_[i] != '>' &&
           text_[i] != '=') {
      ++i;
    }
    HtmlAttribute attribute{text_.substr(attribute_start, i - attribute_start), {}};
    std::size_t after_name = i;
    while (i < text_.size() && IsSpace(text_[i])) ++i;
    if (i < text_.size() && text_[i] == '=') {
      ++i;
      while (i < text_.size() && IsSpace(text_[i])) ++i;
      if (i >= text_.size()) break;
      char quote = text_[i];
      if (quote == '"' || quote == '\'') {
        std::size_t close = text_.find(quote, i + 1);
        if (close == kNpos) break;
        attribute.value = text_.substr(i + 1, close - i - 1);
        i = close + 1;
      } else {
        std::size_t value_start = i;
        while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '>') ++i;
        attribute.value = text_.substr(value_start, i - value_start);
      }
    } else {
      i = after_name;
    }
    token.attributes.push_back(attribute);
  }
  // The text ended inside the tag: a browser drops it.
  at_ = text_.size();
  return false;
}

bool HtmlScanner::EndTag(HtmlToken& token) {
  std::size_t i = at_ + 2;
  if (i >= text_.size() || !IsLetter(text_[i])) {
    // "</>" is dropped; anything else is a bogus comment up to the next '>'.
    at_ = i;
    SkipPast(">");
    return false;
  }
  std::size_t name_start = i;
  while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '/' && text_[i] != '>') ++i;
  std::size_t close = text_.find('>', i);
  if (close == kNpos) {
    at_ = text_.size();
    return false;
  }
  token.kind = HtmlToken::Kind::kEndTag;
  token.name = text_.substr(name_start, i - name_start);
  at_ = close + 1;
  return true;
}

void HtmlScanner::SkipPast(std::string_view terminator) {
  std::size_t found = text_.find(terminator, at_);
  at_ = found == kNpos ? text_.size() : found + terminator.size();
}

std::size_t HtmlScanner::FindRawTextEnd(std::string_view name) const {
  for (std::size_t from = at_;;) {
    std::size_t found = text_.find("</", from);
    if (found == kNpos) return text_.size();
    std::size_t after = found + 2 + name.size();
    if (EqualsFolded(text_.substr(found + 2, name.size()), name) &&
        (after >= text_.size() || IsSpace(text_[after]) || text_[after] == '/' ||
         text_[after] == '>')) {
      return found;
    }
    from = found + 2;
  }
}

std::string DecodeCharacterReferences(std::string_view text) {
  // References longer than this are no references.
  constexpr std::size_t kLongestReference = 10;
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      std::size_t semicolon = text.substr(i + 1, kLongestReference).find(';');
      if (semicolon != kNpos && DecodeReference(text.substr(i + 1, semicolon), decoded)) {
        i += semicolon + 1;
        continue;
      }
    }
    decoded += text[i];
  }
  return decoded;
}

}  // namespace windlock::sim
