#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "backends/sim/sim_trace.h"
#include "platform/menus.h"

namespace windlock::sim {

// Menus as lists of items, inserted as InsertMenuA places them. A shown menu returns the next
// queued choice, or is dismissed without one.
class SimMenus : public Menus {
 public:
  struct Item {
    std::string caption;
    uint32_t flags = 0;
    uintptr_t item = 0;  // the identifier, or the submenu of a popup item
  };

  explicit SimMenus(const SimTrace& trace) : trace_(trace) {}

  MenuHandle CreatePopupMenu() override;
  void InsertItem(MenuHandle menu, uint32_t position, uint32_t flags, uintptr_t item,
                  const std::string& caption) override;
  std::optional<uint32_t> TrackPopupMenu(MenuHandle menu, WindowHandle owner) override;
  void DestroyMenu(MenuHandle menu) override;

  // The identifier the user picks in the next menu shown.
  void QueueChoice(uint32_t id) { choices_.push_back(id); }

  // The items of a menu that still exists, or none.
  const std::vector<Item>* Items(MenuHandle menu) const;

 private:
  const SimTrace& trace_;
  std::map<MenuHandle, std::vector<Item>> menus_;
  MenuHandle next_ = 0x5000;
  std::deque<uint32_t> choices_;
};

}  // namespace windlock::sim
