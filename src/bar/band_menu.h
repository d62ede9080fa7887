#pragma once

#include <cstdint>

#include "common/hresult.h"
#include "common/skin_paths.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// Offsets of the bar menu's commands from idCmdFirst; 10 and above are the skins.
enum MenuOffset : uint32_t {
  kMenuPreview = 0,
  kMenuCut = 1,
  kMenuCopy = 2,
  kMenuSelectAll = 3,
  kMenuSeparator = 4,
  kMenuHomePage = 5,
  kMenuOptions = 6,
  kMenuHelp = 7,
  kMenuAbout = 8,
  kMenuUpdates = 9,
  kMenuFirstSkin = 10,
};

inline constexpr const char* kVendorHost = "www.larkspan.com";
inline constexpr const char* kVendorHomePage = "http://www.larkspan.com/";

// BuildBandMenu: the bar's context menu from `index` on, its items depending on where the last
// press in the captured list landed (MenuContext, cleared here), with a Skins submenu of
// "Original" and every skin folder. No identifier goes past `id_cmd_last`: skins that do not fit
// are left out. Returns a success code carrying the number of identifiers used.
HResult BuildBandMenu(ModuleData& module, Platform& platform, MenuHandle menu, uint32_t index,
                      uint32_t id_cmd_first, uint32_t id_cmd_last);

}  // namespace windlock
