#include "backends/sim/sim_file_system.h"

#include <algorithm>

#include "backends/sim/case_insensitive.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

constexpr int32_t kErrPermissionDenied = 70;
constexpr int32_t kErrPathFileAccess = 75;
constexpr int32_t kErrPathNotFound = 76;

std::string Trimmed(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '\\') trimmed.pop_back();
  return trimmed;
}

std::string Normal(const std::string& path) {
  return FoldCase(Trimmed(path));
}

}  // namespace

SimFileSystem::SimFileSystem() {
  AddFolder(kProgramFolder);
}

const SimFileSystem::Entry* SimFileSystem::Find(const std::string& path) const {
  auto entry = entries_.find(Normal(path));
  return entry == entries_.end() ? nullptr : &entry->second;
}

bool SimFileSystem::FileExists(const std::string& path) {
  const Entry* entry = Find(path);
  return entry && !entry->folder;
}

bool SimFileSystem::FolderExists(const std::string& path) {
  const Entry* entry = Find(path);
  return entry && entry->folder;
}

std::vector<std::string> SimFileSystem::SubFolders(const std::string& path) {
  if (!FolderExists(path)) throw Error(kErrPathNotFound, "Path not found");
  std::string prefix = Normal(path) + "\\";
  std::vector<std::string> names;
  for (const auto& [key, entry] : entries_) {
    if (!entry.folder || !key.starts_with(prefix)) continue;
    std::string rest = Trimmed(entry.path).substr(prefix.size());
    if (rest.find('\\') == std::string::npos) names.push_back(rest);
  }
  std::sort(names.begin(), names.end(), LessFolded);
  return names;
}

void SimFileSystem::RemoveFolder(const std::string& path) {
  if (!FolderExists(path)) throw Error(kErrPathNotFound, "Path not found");
  const std::string key = Normal(path);
  const std::string prefix = key + "\\";
  // The folder, then everything in it in name order: backwards, each entry comes after all of
  // its own contents.
  std::vector<std::string> order{key};
  for (auto entry = entries_.lower_bound(prefix);
       entry != entries_.end() && entry->first.starts_with(prefix); ++entry) {
    order.push_back(entry->first);
  }
  for (auto next = order.rbegin(); next != order.rend(); ++next) {
    if (entries_.at(*next).in_use) throw Error(kErrPermissionDenied, "Permission denied");
    entries_.erase(*next);
  }
}

void SimFileSystem::AddFolder(const std::string& path) {
  std::string trimmed = Trimmed(path);
  for (std::size_t slash = trimmed.find('\\'); slash != std::string::npos;
       slash = trimmed.find('\\', slash + 1)) {
    std::string parent = trimmed.substr(0, slash);
    if (parent.size() > 2) entries_.try_emplace(FoldCase(parent), Entry{parent, true, false, {}});
  }
  entries_.try_emplace(FoldCase(trimmed), Entry{trimmed, true, false, {}});
}

void SimFileSystem::AddFile(const std::string& path, std::string text) {
  std::string trimmed = Trimmed(path);
  std::size_t slash = trimmed.rfind('\\');
  if (slash != std::string::npos) AddFolder(trimmed.substr(0, slash));
  entries_[FoldCase(trimmed)] = Entry{trimmed, false, false, std::move(text)};
}

void SimFileSystem::RemovePath(const std::string& path) {
  std::string key = Normal(path);
  std::string prefix = key + "\\";
  std::erase_if(entries_, [&](const auto& item) {
    return item.first == key || item.first.starts_with(prefix);
  });
}

void SimFileSystem::MakeReadOnly(const std::string& path) {
  auto entry = entries_.find(Normal(path));
  if (entry != entries_.end()) entry->second.read_only = true;
}

bool SimFileSystem::MarkInUse(const std::string& path) {
  auto entry = entries_.find(Normal(path));
  if (entry == entries_.end()) return false;
  entry->second.in_use = true;
  return true;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || entry->folder) return std::nullopt;
  return entry->text;
}

void SimFileSystem::WriteFile(const std::string& path, std::string text) {
  std::string trimmed = Trimmed(path);
  std::size_t slash = trimmed.rfind('\\');
  // A drive's root folder always exists.
  if (slash == std::string::npos || (slash > 2 && !FolderExists(trimmed.substr(0, slash)))) {
    throw Error(kErrPathNotFound, "Path not found");
  }
  auto entry = entries_.find(FoldCase(trimmed));
  if (entry == entries_.end()) {
    entries_.emplace(FoldCase(trimmed), Entry{trimmed, false, false, std::move(text)});
    return;
  }
  if (entry->second.folder) throw Error(kErrPathFileAccess, "Path/File access error");
  if (entry->second.read_only) throw Error(kErrPermissionDenied, "Permission denied");
  entry->second.text = std::move(text);
}

}  // namespace windlock::sim
