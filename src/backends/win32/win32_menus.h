#pragma once

#include "platform/menus.h"

namespace windlock::win32 {

// Popup menus through user32.
class Win32Menus : public Menus {
 public:
  MenuHandle CreatePopupMenu() override;
  void InsertItem(MenuHandle menu, uint32_t position, uint32_t flags, uintptr_t item,
                  const std::string& caption) override;
  std::optional<uint32_t> TrackPopupMenu(MenuHandle menu, WindowHandle owner) override;
  void DestroyMenu(MenuHandle menu) override;
};

}  // namespace windlock::win32
