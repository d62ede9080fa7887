#include "bar/band_menu.h"

#include <algorithm>

#include "common/error.h"

namespace windlock {
namespace {

// Inserts items at consecutive positions, none with an identifier past the last one allowed.
class MenuWriter {
 public:
  MenuWriter(Menus& menus, MenuHandle menu, uint32_t index, uint32_t first, uint32_t last)
      : menus_(menus), menu_(menu), position_(index), first_(first), last_(last) {}

  void ByPosition(uint32_t offset, const std::string& caption, uint32_t flags = kMfString) {
    if (!Fits(offset)) return;
    menus_.InsertItem(menu_, position_++, kMfByPosition | flags, first_ + offset, caption);
    Used(offset);
  }
  // The Skins submenu, at the next position like every other item: inserted by command, the
  // position would be taken as an identifier and could put it before one of the bar's own
  // items, or after the browser's.
  // Once inserted, the submenu goes with the menu; until then it is the writer's to destroy.
  void Popup(MenuHandle submenu, const std::string& caption) {
    try {
      menus_.InsertItem(menu_, position_, kMfByPosition | kMfPopup, submenu, caption);
    } catch (const Error&) {
      menus_.DestroyMenu(submenu);
      throw;
    }
    ++position_;
  }
  bool Fits(uint32_t offset) const { return first_ + offset <= last_; }
  void Used(uint32_t offset) { count_ = std::max(count_, offset + 1); }
  uint32_t count() const { return count_; }

 private:
  Menus& menus_;
  MenuHandle menu_;
  uint32_t position_;
  uint32_t first_;
  uint32_t last_;
  uint32_t count_ = 0;
};

std::vector<std::string> SkinFolders(FileSystem& files) {
  std::string skins = files.ProgramFolder() + "\\Skins";
  // Without a Skins folder the submenu offers the built-in look alone.
  if (!files.FolderExists(skins)) return {};
  return files.SubFolders(skins);
}

}  // namespace

HResult BuildBandMenu(ModuleData& module, Platform& platform, MenuHandle menu, uint32_t index,
                      uint32_t id_cmd_first, uint32_t id_cmd_last) {
  Menus& menus = platform.menus;
  MenuWriter writer(menus, menu, index, id_cmd_first, id_cmd_last);
  if (module.MenuContext == "Node") {
    writer.ByPosition(kMenuPreview, "Preview");
    writer.ByPosition(kMenuCut, "Cu&t");
    writer.ByPosition(kMenuCopy, "&Copy");
    writer.ByPosition(kMenuSelectAll, "Select &All");
    writer.ByPosition(kMenuSeparator, "-", kMfSeparator);
    module.MenuContext.clear();
  } else if (module.MenuContext == "List") {
    writer.ByPosition(kMenuSelectAll, "Select &All");
    writer.ByPosition(kMenuSeparator, "-", kMfSeparator);
    module.MenuContext.clear();
  }
  writer.ByPosition(kMenuHomePage, kVendorHost);
  MenuHandle skins = menus.CreatePopupMenu();
  writer.Popup(skins, "Skins");
  writer.ByPosition(kMenuOptions, "&Options");
  writer.ByPosition(kMenuHelp, "&Help");
  writer.ByPosition(kMenuAbout, "&About");
  writer.ByPosition(kMenuUpdates, "Check For Updates");

  MenuWriter skin_writer(menus, skins, 0, id_cmd_first, id_cmd_last);
  skin_writer.ByPosition(kMenuFirstSkin, kOriginalSkin);
  std::vector<std::string> folders = SkinFolders(platform.files);
  for (uint32_t k = 0; k < folders.size() && skin_writer.Fits(kMenuFirstSkin + 1 + k); ++k) {
    skin_writer.ByPosition(kMenuFirstSkin + 1 + k, folders[k]);
  }
  uint32_t used = std::max(writer.count(), skin_writer.count());
  return SuccessWithCount(static_cast<uint16_t>(std::min<uint32_t>(used, 0xFFFF)));
}

}  // namespace windlock
