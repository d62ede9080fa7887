#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "forms/control.h"

namespace windlock {

class ListWatch;

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
  ~ListView() override;

  const std::vector<Item>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }

  // Adds an item at the end; the key must be new.
  void Add(std::string key, std::string text);
  // The position of the item with that key, or none.
  std::optional<std::size_t> Find(const std::string& key) const;
  // The same, looking first at `hint`, where callers that walk in list order find it.
  std::optional<std::size_t> Find(const std::string& key, std::size_t hint) const;
  void SetText(std::size_t index, std::string text);
  void SetSelected(std::size_t index, bool selected);
  // Removes the items with these keys, keeping the others in order.
  void Remove(const std::unordered_set<std::string>& keys);
  // SelectedItem: the first selected item, or none.
  std::optional<std::size_t> SelectedItem() const;

  // Column header width of the first column.
  float column_width = 0;

  // The mouse on the list: a button pressed (on an item or not), a double click.
  std::function<void(bool on_item)> on_mouse_down;
  std::function<void()> on_double_click;

 private:
  friend class ListWatch;

  void Changed(const std::string& key);
  void Reindex();

  std::vector<Item> items_;
  std::unordered_map<std::string, std::size_t> positions_;
  std::vector<ListWatch*> watches_;
};

// What changed in a list view since the watch last took its changes, so that whoever mirrors
// the items (the captured list's other views, a window that draws items on demand) redoes only
// those and not the whole list.
class ListWatch {
 public:
  struct Changes {
    // Keys of the items added, or whose text or selection changed, that are still there.
    std::unordered_set<std::string> keys;
    // The lowest position an item was removed from: every item from there on moved up.
    std::optional<std::size_t> first_moved;
  };
  // Ascending runs [first, last] of positions, as a window redraws them.
  using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

  explicit ListWatch(ListView& list);
  ~ListWatch();
  ListWatch(const ListWatch&) = delete;
  ListWatch& operator=(const ListWatch&) = delete;

  Changes Take();
  bool HasChanges() const { return !changes_.keys.empty() || changes_.first_moved.has_value(); }
  // The changes' positions now, joined into runs; with first_moved, every position from there
  // to the end is in them.
  Ranges TakeRanges();

 private:
  friend class ListView;

  ListView* list_;
  Changes changes_;
};

}  // namespace windlock
