#include "skins/skin_page.h"

#include "common/skin_paths.h"

namespace windlock {

void NavigateToSkinPage(Browser& web_images, FileSystem& files, const std::string& skin) {
  if (skin == kOriginalSkin) return;
  web_images.Navigate2(NavigateRequest::To(SkinFilePath(files.ProgramFolder(), skin, ".htm")));
}

void ShowSkin(Browser& web_images, FileSystem& files, const std::string& skin, bool shown) {
  if (shown) {
    NavigateToSkinPage(web_images, files, skin);
  } else {
    web_images.Navigate2(NavigateRequest::To("about:blank"));
  }
}

}  // namespace windlock
