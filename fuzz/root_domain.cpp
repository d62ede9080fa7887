// getrootdomain on arbitrary bytes: the site text must come out of the address itself, hold no
// "/" once the address is long enough to be cut, and reduce to itself, since the URL entry
// dialog may be given a site text that is already reduced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/utf8.h"
#include "settings/root_domain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  std::string site = url;
  windlock::getrootdomain(site);
  if (url.find(site) == std::string::npos) std::abort();
  if (windlock::CharCount(url) > 6 && site.find('/') != std::string::npos) std::abort();
  std::string again = site;
  windlock::getrootdomain(again);
  if (again != site) std::abort();
  return 0;
}
