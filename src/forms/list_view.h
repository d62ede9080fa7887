#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "forms/control.h"

namespace windlock {

// A list view's items: each has a unique key, a text and a selection state. Lookups by key cost
// the same however many items there are.
class ListView : public Control {
 public:
  struct Item {
    std::string key;
    std::string text;
    bool selected = false;
  };

  explicit ListView(std::string name) : Control(std::move(name), ControlKind::kListView) {}

  const std::vector<Item>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }

  // Adds an item at the end; the key must be new.
  void Add(std::string key, std::string text);
  // The position of the item with that key, or none.
  std::optional<std::size_t> Find(const std::string& key) const;
  // The same, looking first at `hint`, where callers that walk in list order find it.
  std::optional<std::size_t> Find(const std::string& key, std::size_t hint) const;
  void SetText(std::size_t index, std::string text) {
    items_[index].text = std::move(text);
    ++revision_;
  }
  void SetSelected(std::size_t index, bool selected) {
    items_[index].selected = selected;
    ++revision_;
  }
  // Removes the items with these keys, keeping the others in order.
  void Remove(const std::unordered_set<std::string>& keys);
  // SelectedItem: the first selected item, or none.
  std::optional<std::size_t> SelectedItem() const;

  // Column header width of the first column.
  float column_width = 0;

  // Counts every change of the items, so a window that shows them knows when to look again.
  uint64_t revision() const { return revision_; }

  // The mouse on the list: a button pressed (on an item or not), a double click.
  std::function<void(bool on_item)> on_mouse_down;
  std::function<void()> on_double_click;

 private:
  void Reindex();

  std::vector<Item> items_;
  std::unordered_map<std::string, std::size_t> positions_;
  uint64_t revision_ = 0;
};

}  // namespace windlock
