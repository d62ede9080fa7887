#pragma once

#include <string>

#include "common/variant.h"

namespace windlock {

// One captured request, kept exactly as the browser delivered it so that it can be sent again
// unchanged.
struct CapturedEntry {
  Variant URL;
  Variant Flags;
  Variant TargetFrameName;
  Variant PostData;
  Variant Headers;
  std::string URLName;       // the address, until the page reports its title
  std::string Key = "None";  // the list item's key, once it has one
};

// The skin page's selection box of captured pop-ups: its id, the placeholder it is written into,
// and the markup written there.
inline constexpr const char* kCaptureSelectId = "defaultLKCaptureListLarkspan";
inline constexpr const char* kInsertCaptureListId = "InsertCaptureList";
inline constexpr const char* kCaptureSelectMarkup =
    "<Select id=\"defaultLKCaptureListLarkspan\" name=\"CaptureList\" "
    "onchange=\"javascript:window.external.defaultLKCaptureListLarkspanUpdate();\" multiple "
    "style=\"MIN-HEIGHT: 100px; WIDTH: 100%; HEIGHT: 100%\"></Select>";

}  // namespace windlock
