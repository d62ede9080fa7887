#include "backends/sim/sim_dom.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "backends/sim/case_insensitive.h"
#include "backends/sim/sim_html_scanner.h"

namespace windlock::sim {
namespace {

// Elements that have no end tag and hold nothing.
bool IsVoidElement(std::string_view folded_tag) {
  static constexpr std::array<std::string_view, 16> kVoid = {
      "area", "base", "br",    "col",    "embed", "hr",  "img",    "input",
      "link", "meta", "param", "source", "track", "wbr", "keygen", "basefont"};
  return std::find(kVoid.begin(), kVoid.end(), folded_tag) != kVoid.end();
}

bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// An option's text as a browser gives it: blanks at the ends dropped, runs of blanks made one.
std::string CollapseBlanks(std::string_view text) {
  std::string collapsed;
  bool blank = false;
  for (char c : text) {
    if (IsAsciiSpace(c)) {
      blank = true;
      continue;
    }
    if (blank && !collapsed.empty()) collapsed += ' ';
    blank = false;
    collapsed += c;
  }
  return collapsed;
}

// The options written inside the select being read, each ended by the next option, an end tag
// of its own or the end of the select.
class OptionReader {
 public:
  explicit OptionReader(SimOptionList* select) : select_(select), in_select_(select != nullptr) {}

  void StartSelect(SimOptionList* select) {
    EndSelect();
    select_ = select;
    in_select_ = true;
  }
  void EndSelect() {
    EndOption();
    select_ = nullptr;
    in_select_ = false;
  }
  void StartOption(const HtmlToken& tag) {
    EndOption();
    if (!in_select_) return;
    std::optional<std::string_view> value = tag.Attribute("value");
    option_ = Pending{
        value ? std::optional<std::string>(DecodeCharacterReferences(*value)) : std::nullopt,
        {},
        tag.Attribute("selected").has_value()};
  }
  void Text(std::string_view text) {
    if (option_) option_->text += text;
  }
  void EndOption() {
    if (option_ && select_) {
      std::string text = CollapseBlanks(DecodeCharacterReferences(option_->text));
      // Without a value attribute an option's value is its text.
      std::string value = option_->value ? std::move(*option_->value) : text;
      select_->Append({std::move(value), std::move(text), option_->selected});
    }
    option_.reset();
  }
  bool in_select() const { return in_select_; }

 private:
  struct Pending {
    std::optional<std::string> value;
    std::string text;
    bool selected = false;
  };
  SimOptionList* select_;
  bool in_select_;
  std::optional<Pending> option_;
};

}  // namespace

std::optional<std::string> SimDom::Tag(const std::string& id) const {
  const Element* element = Find(id);
  return element ? std::optional<std::string>(element->tag) : std::nullopt;
}

bool SimDom::SetInnerHtml(const std::string& id, const std::string& html) {
  auto found = by_id_.find(id);
  if (found == by_id_.end()) return false;
  std::size_t index = found->second.front();
  Element& element = *elements_[index];
  RemoveDescendants(element);
  if (element.options) element.options = std::make_unique<SimOptionList>();
  element.inner_html = html;
  Parse(element.inner_html, index);
  return true;
}

SimOptionList* SimDom::Options(const std::string& id) const {
  const Element* element = Find(id);
  return element ? element->options.get() : nullptr;
}

void SimDom::Parse(std::string_view markup, std::optional<std::size_t> parent) {
  // The elements open at this point of the markup, each with the nearest element with an id at
  // or around it. End tags close up to the latest open element of their name; an end tag with
  // none open is dropped, found in constant time through the count of open elements by name.
  struct Open {
    std::string tag;  // folded
    std::optional<std::size_t> scope;
  };
  std::vector<Open> open;
  std::unordered_map<std::string, std::size_t> open_by_tag;
  auto scope = [&] { return open.empty() ? parent : open.back().scope; };

  OptionReader options(parent ? elements_[*parent]->options.get() : nullptr);
  HtmlScanner scanner(markup);
  HtmlToken token;
  while (scanner.Next(token)) {
    if (token.kind == HtmlToken::Kind::kText) {
      options.Text(token.text);
      continue;
    }
    std::string tag = FoldCase(token.name);
    if (token.kind == HtmlToken::Kind::kEndTag) {
      if (tag == "option" || tag == "optgroup") options.EndOption();
      if (tag == "select") options.EndSelect();
      auto count = open_by_tag.find(tag);
      if (count == open_by_tag.end() || count->second == 0) continue;
      for (;;) {
        Open closed = std::move(open.back());
        open.pop_back();
        --open_by_tag[closed.tag];
        if (closed.tag == tag) break;
      }
      continue;
    }
    if (tag == "optgroup") options.EndOption();
    // A select inside a select ends the first one, as a browser reads it.
    if (tag == "select" && options.in_select()) options.EndSelect();
    std::optional<std::size_t> element;
    if (std::optional<std::string_view> id = token.Attribute("id"); id && !id->empty()) {
      element = Add(DecodeCharacterReferences(*id), token.name, scope());
    }
    if (tag == "select") {
      options.StartSelect(element ? elements_[*element]->options.get() : nullptr);
    } else if (tag == "option") {
      options.StartOption(token);
    }
    if (!IsVoidElement(tag)) {
      ++open_by_tag[tag];
      open.push_back({std::move(tag), element ? element : scope()});
    }
  }
  options.EndOption();
}

std::size_t SimDom::Add(std::string id, std::string_view tag, std::optional<std::size_t> parent) {
  auto element = std::make_unique<Element>();
  element->tag = std::string(tag);
  if (EqualsFolded(tag, "select")) element->options = std::make_unique<SimOptionList>();
  std::size_t index = elements_.size();
  by_id_[id].push_back(index);
  element->id = std::move(id);
  elements_.push_back(std::move(element));
  if (parent) elements_[*parent]->children.push_back(index);
  return index;
}

void SimDom::RemoveDescendants(Element& element) {
  std::vector<std::size_t> pending = std::move(element.children);
  element.children.clear();
  // Each id's list is cleaned once, however many of its elements go: a page may repeat an id
  // any number of times.
  std::unordered_set<std::string> touched_ids;
  while (!pending.empty()) {
    std::unique_ptr<Element> removed = std::move(elements_[pending.back()]);
    pending.pop_back();
    pending.insert(pending.end(), removed->children.begin(), removed->children.end());
    touched_ids.insert(std::move(removed->id));
  }
  for (const std::string& id : touched_ids) {
    auto same_id = by_id_.find(id);
    std::erase_if(same_id->second, [&](std::size_t index) { return !elements_[index]; });
    if (same_id->second.empty()) by_id_.erase(same_id);
  }
}

SimDom::Element* SimDom::Find(const std::string& id) const {
  auto found = by_id_.find(id);
  return found == by_id_.end() ? nullptr : elements_[found->second.front()].get();
}

}  // namespace windlock::sim
