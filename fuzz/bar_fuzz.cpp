#include "bar_fuzz.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <string>

#include "bar/bar_form.h"

namespace windlock::fuzz {
namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

void CheckListView(const std::vector<CapturedEntry>& entries, const ListView& list) {
  Require(list.size() == entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(list.items()[i].key == entries[i].Key);
    Require(list.items()[i].text == entries[i].URLName);
  }
}

void CheckMirror(const std::vector<CapturedEntry>& entries, const ListView& list,
                 const std::string& canonical, bool updated) {
  // Entities decoded, nothing else normalised: the values come back as the bar wrote them.
  pugi::xml_document mirror;
  Require(mirror.load_string(canonical.c_str(), pugi::parse_escapes));
  pugi::xml_node root = mirror.child("URLS");
  std::size_t i = 0;
  for (pugi::xml_node element : root.children()) {
    Require(i < entries.size() && std::string(element.name()) == "URL");
    Require(element.attribute("URLName").value() == entries[i].URLName);
    Require(element.attribute("URLLocation").value() == entries[i].URL.ToText());
    Require(std::string(element.attribute("visible").value()) == "true");
    if (updated) {
      const char* selected = list.items()[i].selected ? "true" : "false";
      Require(std::string(element.attribute("selected").value()) == selected);
    }
    ++i;
  }
  Require(root && i == entries.size());
}

void CheckSelectBox(const std::vector<CapturedEntry>& entries, HtmlOptions& options) {
  Require(options.length() == entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(options.Value(i) == entries[i].Key && options.Text(i) == entries[i].URLName);
  }
}

}  // namespace

std::string BrowserText(const Fields& fields, std::size_t index) {
  std::string text = TextAt(fields, index);
  std::erase(text, '\0');
  return text;
}

void CheckViews(unit::BarHarness& bar, bool updated) {
  const std::vector<CapturedEntry>& entries = bar.bar.captured().entries();
  const ListView& list = bar.bar.URLList();
  CheckListView(entries, list);
  CheckMirror(entries, list, bar.Mirror(), updated);
  HtmlDocument* page = bar.skin().Document();
  HtmlOptions* options = page ? page->SelectOptions(kCaptureSelectId) : nullptr;
  if (updated && options) CheckSelectBox(entries, *options);
}

}  // namespace windlock::fuzz
