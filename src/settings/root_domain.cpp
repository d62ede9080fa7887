#include "settings/root_domain.h"

#include <string_view>

#include "common/utf8.h"

namespace windlock {

void getrootdomain(std::string& url) {
  const std::size_t n = CharCount(url);
  if (n <= 6) return;
  // The schemes are ASCII, so characters and bytes agree on the prefixes.
  std::string_view text = url;
  std::string_view w = text;
  if (text.starts_with("ftp://")) w = text.substr(6);
  if (n > 7 && text.starts_with("http://")) w = text.substr(7);
  if (n > 8 && text.starts_with("https://")) w = text.substr(8);
  w = w.substr(0, w.find('/'));
  url = std::string(w);
}

}  // namespace windlock
