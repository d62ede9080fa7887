#include "bar/band_menu.h"
#include "bar/bar_form.h"
#include "dialogs/about_box.h"
#include "forms/error_message.h"
#include "skins/html_help.h"

namespace windlock {

void BarForm::HandleMenuCommand(uint32_t offset) {
  std::shared_ptr<Form> alive = KeepAlive();
  try {
    switch (offset) {
      case kMenuPreview:
        captured_.PreviewSelectedEntry();
        PostNull();
        break;
      case kMenuCut:
        CopySelection();
        captured_.RemoveSelectedEntries();
        PostNull();
        break;
      case kMenuCopy:
        CopySelection();
        PostNull();
        break;
      case kMenuSelectAll:
        for (std::size_t i = 0; i < controls_.URLList.size(); ++i)
          controls_.URLList.SetSelected(i, true);
        PostNull();
        break;
      case kMenuSeparator:
        break;
      case kMenuHomePage:
        PostNull();
        if (current_ie_) current_ie_->Navigate2(NavigateRequest::To(kVendorHomePage));
        break;
      case kMenuHelp:
        PostNull();
        ShowHtmlHelp(platform_.help, platform_.files.ProgramFolder() + "\\windlock.chm", "");
        break;
      case kMenuUpdates:
        PostNull();
        if (current_ie_) current_ie_->Navigate2(NavigateRequest::To(module_.settings.UpdateURL));
        break;
      case kMenuOptions:
        ShowOptions();
        // Closed while its dialog was up, the bar has no window left to post to.
        if (loaded()) PostNull();
        break;
      case kMenuAbout:
        ShowAboutBox(platform_);
        if (loaded()) PostNull();
        break;
      default:
        if (offset < kMenuFirstSkin) break;
        ApplySkin(static_cast<int32_t>(offset));
        PostNull();
        break;
    }
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was An Error Handling The Context Menu Item.", error);
  }
}

void BarForm::ShowContextMenu() {
  std::shared_ptr<Form> alive = KeepAlive();
  struct OwnedMenu {
    Menus& menus;
    MenuHandle handle;
    ~OwnedMenu() { menus.DestroyMenu(handle); }
  } menu{platform_.menus, platform_.menus.CreatePopupMenu()};
  BuildBandMenu(module_, platform_, menu.handle, 0, 0, 1000);
  std::optional<uint32_t> choice = platform_.menus.TrackPopupMenu(menu.handle, window_.get());
  if (!choice) return;
  // Asked for by a page's script: what opens a modal window or navigates the hosting browser
  // waits until the script's call has returned, as the bridge's own ShowOptions does.
  switch (*choice) {
    case kMenuHomePage:
    case kMenuOptions:
    case kMenuAbout:
    case kMenuUpdates:
      ScheduleDeferredAction(DeferredAction::kMenuCommand, *choice);
      break;
    default:
      HandleMenuCommand(*choice);
      break;
  }
}

void BarForm::PostNull() {
  platform_.windows.PostWindowMessage({window_.get(), kWmNull, 0, 0});
}

void BarForm::CopySelection() {
  std::string text;
  for (const CapturedEntry& entry : captured_.entries()) {
    std::optional<std::size_t> item = controls_.URLList.Find(entry.Key);
    if (!item || !controls_.URLList.items()[*item].selected) continue;
    if (!text.empty()) text += kCrLf;
    text += entry.URL.ToText();
  }
  platform_.ui.SetClipboardText(text);
}

}  // namespace windlock
