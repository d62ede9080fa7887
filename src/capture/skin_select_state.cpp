#include "capture/skin_select_state.h"

namespace windlock {

void SkinSelectState::Forget() {
  known_ = false;
  removed_.clear();
}

void SkinSelectState::Left(bool known, const std::vector<CapturedEntry>& entries) {
  Forget();
  known_ = known;
  length_ = entries.size();
  last_value_ = entries.empty() ? std::string() : entries.back().Key;
}

bool SkinSelectState::TakeOutRemoved(HtmlOptions& options) {
  bool as_left = known_ && options.length() == length_ &&
                 (length_ == 0 || options.Value(length_ - 1) == last_value_);
  for (auto option = removed_.rbegin(); as_left && option != removed_.rend(); ++option) {
    as_left = options.Value(option->first) == option->second;
    if (as_left) options.Remove(option->first);
  }
  Forget();
  return as_left;
}

void SkinSelectState::EntriesRemoved(const std::vector<CapturedEntry>& entries,
                                     const std::vector<bool>& removing) {
  if (!known_) return;
  std::vector<std::pair<std::size_t, std::string>> removed;
  std::size_t earlier = 0;
  std::size_t entry = 0;
  for (std::size_t position = 0; position < length_; ++position) {
    if (earlier < removed_.size() && removed_[earlier].first == position) {
      removed.push_back(std::move(removed_[earlier++]));
    } else if (entry < entries.size()) {
      if (removing[entry]) removed.emplace_back(position, entries[entry].Key);
      ++entry;
    }
  }
  removed_ = std::move(removed);
}

}  // namespace windlock
