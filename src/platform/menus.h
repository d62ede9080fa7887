#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_system.h"

namespace windlock {

using MenuHandle = uintptr_t;

inline constexpr uint32_t kMfString = 0x0000;
inline constexpr uint32_t kMfPopup = 0x0010;
inline constexpr uint32_t kMfByPosition = 0x0400;
inline constexpr uint32_t kMfSeparator = 0x0800;

// Popup menus. Real: user32 (win32). Fake: SimMenus, which keeps every menu's items.
class Menus {
 public:
  virtual ~Menus() = default;

  virtual MenuHandle CreatePopupMenu() = 0;
  // InsertMenuA: by position (kMfByPosition) the item goes before position `position`; else
  // before the item whose identifier is `position`, or at the end when there is none. `item` is
  // the command identifier, or the submenu for kMfPopup.
  virtual void InsertItem(MenuHandle menu, uint32_t position, uint32_t flags, uintptr_t item,
                          const std::string& caption) = 0;
  // Shows the menu at the mouse position, owned by `owner`; the chosen identifier, or none.
  virtual std::optional<uint32_t> TrackPopupMenu(MenuHandle menu, WindowHandle owner) = 0;
  virtual void DestroyMenu(MenuHandle menu) = 0;
};

}  // namespace windlock
