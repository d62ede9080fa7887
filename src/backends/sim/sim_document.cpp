#include "backends/sim/sim_document.h"

#include <cctype>
#include <string_view>

#include "backends/sim/case_insensitive.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

bool IsNameChar(char c, bool first) {
  unsigned char u = static_cast<unsigned char>(c);
  return std::isalpha(u) || c == '_' || c == '$' || (!first && std::isdigit(u));
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

std::set<std::string> FindFunctions(std::string_view text) {
  static constexpr std::string_view kKeyword = "function";
  std::set<std::string> names;
  for (std::size_t at = text.find(kKeyword); at != std::string_view::npos;
       at = text.find(kKeyword, at + 1)) {
    std::size_t start = at + kKeyword.size();
    std::size_t name_start = SkipBlanks(text, start);
    if (name_start == start || name_start >= text.size() || !IsNameChar(text[name_start], true)) {
      continue;
    }
    std::size_t name_end = name_start;
    while (name_end < text.size() && IsNameChar(text[name_end], false)) ++name_end;
    std::size_t paren = SkipBlanks(text, name_end);
    if (paren < text.size() && text[paren] == '(') {
      names.emplace(text.substr(name_start, name_end - name_start));
    }
  }
  return names;
}

std::string FindTitle(const std::string& text) {
  std::string folded = FoldCase(text);
  std::size_t open = folded.find("<title>");
  if (open == std::string::npos) return {};
  std::size_t start = open + 7;
  std::size_t close = folded.find("</title>", start);
  if (close == std::string::npos) return {};
  return text.substr(start, close - start);
}

}  // namespace

SimDocument::SimDocument(const SimTrace& trace, std::string browser_name, const std::string& text,
                         std::vector<std::string>& call_log,
                         std::function<void(const std::string&)> called)
    : trace_(trace),
      browser_name_(std::move(browser_name)),
      functions_(FindFunctions(text)),
      title_(FindTitle(text)),
      call_log_(call_log),
      called_(std::move(called)) {
  dom_.Build(text);
}

void SimDocument::SetInnerHtml(const std::string& id, const std::string& html) {
  if (!dom_.SetInnerHtml(id, html)) throw ObjectRequired();
}

Variant SimDocument::CallFunction(const std::string& name, const std::vector<Variant>& args) {
  if (name != "moveTo" && !functions_.contains(name)) {
    throw NoSuchMethod();
  }
  std::string call = name + "(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) call += ",";
    call += args[i].ToText();
  }
  call += ")";
  call_log_.push_back(call);
  trace_("page-call " + browser_name_ + " " + call);
  // A copy: what runs may replace this document.
  std::function<void(const std::string&)> called = called_;
  called(name);
  return {};
}

}  // namespace windlock::sim
