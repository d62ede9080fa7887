#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace windlock::sim {

struct HtmlAttribute {
  std::string_view name;   // as written
  std::string_view value;  // as written, without its quotes
};

// One piece of markup: a run of text, a start tag or an end tag.
struct HtmlToken {
  enum class Kind { kText, kStartTag, kEndTag };
  Kind kind = Kind::kText;
  std::string_view text;  // kText
  std::string_view name;  // tags: the name as written
  std::vector<HtmlAttribute> attributes;

  // The value of the first attribute of that name (letter case ignored), or none.
  std::optional<std::string_view> Attribute(std::string_view attribute_name) const;
};

// Splits page text into text and tags, as a browser's tokenizer would in its essentials:
// comments and declarations are skipped, script and style contents are text, attribute values
// may be double-quoted, single-quoted or bare. A tag cut off by the end of the text is dropped.
// Every character is looked at a bounded number of times, whatever the page holds.
class HtmlScanner {
 public:
  explicit HtmlScanner(std::string_view text) : text_(text) {}

  // The next token; false at the end of the text. The token's views point into the text.
  bool Next(HtmlToken& token);

 private:
  bool StartTag(HtmlToken& token);
  bool EndTag(HtmlToken& token);
  void SkipPast(std::string_view terminator);
  // Where the end tag of a raw text element (script, style, ...) begins, or the end of the text.
  std::size_t FindRawTextEnd(std::string_view name) const;

  std::string_view text_;
  std::size_t at_ = 0;
  // The element whose contents are raw text, while inside one.
  std::string_view raw_text_of_;
};

// Text with its character references (&amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xH;) replaced.
std::string DecodeCharacterReferences(std::string_view text);

}  // namespace windlock::sim
