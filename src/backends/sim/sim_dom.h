#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "backends/sim/sim_options.h"

namespace windlock::sim {

// The elements of a simulated page that a program can reach: every element written with an id,
// the tag it was written in, which such element it lies in, and for a select element the
// options written inside it. Lookups by id cost the same however large the page.
class SimDom {
 public:
  // Adds the elements written in markup to the page.
  void Build(std::string_view markup) { Parse(markup, std::nullopt); }

  bool Has(const std::string& id) const { return Find(id) != nullptr; }
  // The tag of the element with that id, as written, or none.
  std::optional<std::string> Tag(const std::string& id) const;
  // Replaces what the element with that id holds by the elements written in html; false when
  // there is no such element.
  bool SetInnerHtml(const std::string& id, const std::string& html);
  // The options of the select element with that id, or none.
  SimOptionList* Options(const std::string& id) const;

 private:
  struct Element {
    std::string id;
    std::string tag;
    std::string inner_html;  // as the program last set it
    std::vector<std::size_t> children;
    std::unique_ptr<SimOptionList> options;  // select elements only
  };

  // Reads markup into the page, its elements inside `parent` (none: the page itself).
  void Parse(std::string_view markup, std::optional<std::size_t> parent);
  std::size_t Add(std::string id, std::string_view tag, std::optional<std::size_t> parent);
  void RemoveDescendants(Element& element);
  Element* Find(const std::string& id) const;

  std::vector<std::unique_ptr<Element>> elements_;  // a removed element leaves an empty slot
  // Live elements by id, in the order they were made (the first one is the one found).
  std::unordered_map<std::string, std::vector<std::size_t>> by_id_;
};

}  // namespace windlock::sim
