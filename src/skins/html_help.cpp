#include "skins/html_help.h"

#include <string_view>

namespace windlock {
namespace {

std::string TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

void ShowHtmlHelp(Help& help, const std::string& file, const std::string& window,
                  std::optional<int32_t> context) {
  std::string target = window.empty() ? file : TrimBlanks(file) + ">" + TrimBlanks(window);
  if (context) {
    help.HtmlHelp(target, kHhHelpContext, static_cast<uint32_t>(*context));
  } else {
    help.HtmlHelp(target, kHhDisplayTopic, 0);
  }
}

}  // namespace windlock
