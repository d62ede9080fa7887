#include "forms/list_view.h"

#include <algorithm>

namespace windlock {

ListView::~ListView() {
  for (ListWatch* watch : watches_) watch->list_ = nullptr;
}

void ListView::Add(std::string key, std::string text) {
  positions_[key] = items_.size();
  items_.push_back({std::move(key), std::move(text), false});
  Changed(items_.back().key);
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

void ListView::SetText(std::size_t index, std::string text) {
  items_[index].text = std::move(text);
  Changed(items_[index].key);
}

void ListView::SetSelected(std::size_t index, bool selected) {
  items_[index].selected = selected;
  Changed(items_[index].key);
}

void ListView::Remove(const std::unordered_set<std::string>& keys) {
  if (keys.empty()) return;
  auto first = std::find_if(items_.begin(), items_.end(),
                            [&](const Item& item) { return keys.contains(item.key); });
  if (first == items_.end()) return;
  auto first_moved = static_cast<std::size_t>(first - items_.begin());
  std::erase_if(items_, [&](const Item& item) { return keys.contains(item.key); });
  Reindex();
  for (ListWatch* watch : watches_) {
    ListWatch::Changes& changes = watch->changes_;
    for (const std::string& key : keys) changes.keys.erase(key);
    changes.first_moved = std::min(changes.first_moved.value_or(first_moved), first_moved);
  }
}

std::optional<std::size_t> ListView::SelectedItem() const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].selected) return i;
  }
  return std::nullopt;
}

void ListView::Changed(const std::string& key) {
  for (ListWatch* watch : watches_) watch->changes_.keys.insert(key);
}

void ListView::Reindex() {
  positions_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i) positions_[items_[i].key] = i;
}

ListWatch::ListWatch(ListView& list) : list_(&list) {
  list.watches_.push_back(this);
}

ListWatch::~ListWatch() {
  if (list_) std::erase(list_->watches_, this);
}

ListWatch::Changes ListWatch::Take() {
  return std::exchange(changes_, {});
}

ListWatch::Ranges ListWatch::TakeRanges() {
  Changes changes = Take();
  if (!list_) return {};
  std::size_t end = changes.first_moved.value_or(list_->size());
  std::vector<std::size_t> positions;
  for (const std::string& key : changes.keys) {
    std::optional<std::size_t> position = list_->Find(key);
    if (position && *position < end) positions.push_back(*position);
  }
  std::sort(positions.begin(), positions.end());
  Ranges ranges;
  for (std::size_t position : positions) {
    if (!ranges.empty() && ranges.back().second + 1 == position) {
      ranges.back().second = position;
    } else {
      ranges.emplace_back(position, position);
    }
  }
  if (end < list_->size()) {
    if (!ranges.empty() && ranges.back().second + 1 == end) {
      ranges.back().second = list_->size() - 1;
    } else {
      ranges.emplace_back(end, list_->size() - 1);
    }
  }
  return ranges;
}

}  // namespace windlock
