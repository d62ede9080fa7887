#pragma once

#include <string>

#include "platform/browser.h"
#include "platform/file_system.h"

namespace windlock {

// Navigates the skin browser to the page of the skin in use; "Original" has none. The page is
// not checked for: a missing one shows what the browser shows for a missing file.
void NavigateToSkinPage(Browser& web_images, FileSystem& files, const std::string& skin);

// ShowSkin: the bar was shown (the skin page loads) or hidden (the skin browser is blanked,
// whatever the look).
void ShowSkin(Browser& web_images, FileSystem& files, const std::string& skin, bool shown);

}  // namespace windlock
