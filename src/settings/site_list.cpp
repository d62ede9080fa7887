#include "settings/site_list.h"

namespace windlock {

void SiteList::Append(std::string entry) {
  ++counts_[entry];
  entries_.push_back(std::move(entry));
}

void SiteList::Assign(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  counts_.clear();
  for (const auto& entry : entries_) ++counts_[entry];
}

bool SiteList::Contains(const std::string& entry) const {
  return counts_.contains(entry);
}

}  // namespace windlock
