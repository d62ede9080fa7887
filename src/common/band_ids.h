#pragma once

namespace windlock {

// The class identifier of the band IEBar, in the braced text form ShowBrowserBar takes.
inline constexpr const char* kBandClsid = "{9B8C099F-697A-45C4-B672-8D13F9246F87}";

}  // namespace windlock
