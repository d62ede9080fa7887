#include "forms/list_view.h"

namespace windlock {

void ListView::Add(std::string key, std::string text) {
  positions_[key] = items_.size();
  items_.push_back({std::move(key), std::move(text), false});
  ++revision_;
}

std::optional<std::size_t> ListView::Find(const std::string& key) const {
  auto found = positions_.find(key);
  if (found == positions_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::size_t> ListView::Find(const std::string& key, std::size_t hint) const {
  if (hint < items_.size() && items_[hint].key == key) return hint;
  return Find(key);
}

void ListView::Remove(const std::unordered_set<std::string>& keys) {
  if (keys.empty()) return;
  std::erase_if(items_, [&](const Item& item) { return keys.contains(item.key); });
  Reindex();
  ++revision_;
}

std::optional<std::size_t> ListView::SelectedItem() const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].selected) return i;
  }
  return std::nullopt;
}

void ListView::Reindex() {
  positions_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i) positions_[items_[i].key] = i;
}

}  // namespace windlock
