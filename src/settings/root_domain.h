#pragma once

#include <string>

namespace windlock {

// Reduces an address in place to the site text that site entries are compared with: the
// "ftp://", "http://" or "https://" scheme (exact case) and everything from the first "/" on
// are dropped. Texts of six characters or fewer are left as they are.
void getrootdomain(std::string& url);

}  // namespace windlock
