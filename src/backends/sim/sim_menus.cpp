#include "backends/sim/sim_menus.h"

#include <algorithm>

#include "common/error.h"

namespace windlock::sim {
namespace {

// ERROR_INVALID_MENU_HANDLE
constexpr int32_t kErrInvalidMenu = 1401;

}  // namespace

MenuHandle SimMenus::CreatePopupMenu() {
  MenuHandle menu = next_++;
  menus_[menu];
  return menu;
}

void SimMenus::InsertItem(MenuHandle menu, uint32_t position, uint32_t flags, uintptr_t item,
                          const std::string& caption) {
  auto found = menus_.find(menu);
  if (found == menus_.end()) throw Error(kErrInvalidMenu, "Invalid menu handle.");
  std::vector<Item>& items = found->second;
  auto at = items.end();
  if (flags & kMfByPosition) {
    at = items.begin() + std::min<std::size_t>(position, items.size());
  } else {
    at = std::find_if(items.begin(), items.end(), [position](const Item& existing) {
      return !(existing.flags & kMfPopup) && existing.item == position;
    });
  }
  items.insert(at, Item{caption, flags, item});
}

std::optional<uint32_t> SimMenus::TrackPopupMenu(MenuHandle menu, WindowHandle /*owner*/) {
  std::string captions;
  if (const std::vector<Item>* items = Items(menu)) {
    for (const Item& item : *items) {
      if (!captions.empty()) captions += ' ';
      captions += Quote(item.caption);
    }
  }
  trace_("menu shown " + captions);
  if (choices_.empty()) return std::nullopt;
  uint32_t choice = choices_.front();
  choices_.pop_front();
  trace_("menu choice " + std::to_string(choice));
  return choice;
}

void SimMenus::DestroyMenu(MenuHandle menu) {
  menus_.erase(menu);
}

const std::vector<SimMenus::Item>* SimMenus::Items(MenuHandle menu) const {
  auto found = menus_.find(menu);
  return found == menus_.end() ? nullptr : &found->second;
}

}  // namespace windlock::sim
