#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace windlock {

// The one list of "trust:" and "notrust:" entries, in stored order, duplicates allowed. It
// keeps its own index so that a lookup costs the same however long the list grows.
class SiteList {
 public:
  std::size_t size() const { return entries_.size(); }
  const std::string& operator[](std::size_t index) const { return entries_[index]; }
  const std::vector<std::string>& entries() const { return entries_; }

  void Append(std::string entry);
  void Assign(std::vector<std::string> entries);
  // Exact, case-sensitive comparison with every entry.
  bool Contains(const std::string& entry) const;

 private:
  std::vector<std::string> entries_;
  std::unordered_map<std::string, std::size_t> counts_;
};

}  // namespace windlock
