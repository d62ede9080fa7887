#include "scenario_source.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "scenario_errors.h"

namespace windlock::scenario {
namespace {

// Two spellings of one file are one file: a cycle through `../x.scn` and `x.scn` is still one.
std::filesystem::path Identity(const std::string& name) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::weakly_canonical(name, error);
  return error ? std::filesystem::path(name).lexically_normal() : path;
}

}  // namespace

ScenarioSource::ScenarioSource(std::string file_name, const std::vector<std::string>& lines)
    : top_line_count_(lines.size()) {
  files_.push_back({std::move(file_name), 0});
  Append(0, lines, 0);
}

void ScenarioSource::Include(std::size_t index, const std::string& path) {
  const std::size_t includer = lines_[index].location.file;
  const std::filesystem::path folder = std::filesystem::path(files_[includer].name).parent_path();
  const std::string name = (folder / path).lexically_normal().string();
  const std::filesystem::path identity = Identity(name);
  std::string chain = name;
  for (std::size_t file = includer;; file = files_[file].includer) {
    chain = files_[file].name + " -> " + chain;
    if (Identity(files_[file].name) == identity) throw ScenarioError("include cycle: " + chain);
    if (file == 0) break;
  }
  // Only a file: a folder reads as nothing and a device such as /dev/zero would never end.
  std::error_code error;
  std::vector<std::string> lines;
  if (!std::filesystem::is_regular_file(name, error) || !ReadLines(name, lines)) {
    throw ScenarioError("cannot read the included file " + name);
  }
  files_.push_back({name, includer});
  Append(files_.size() - 1, lines, index + 1);
}

void ScenarioSource::Append(std::size_t file, const std::vector<std::string>& lines,
                            std::size_t at) {
  std::vector<SourceLine> added;
  added.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) added.push_back({{file, i + 1}, lines[i]});
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

bool ScenarioSource::ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return true;
}

}  // namespace windlock::scenario
