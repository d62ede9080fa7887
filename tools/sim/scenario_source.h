#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace windlock::scenario {

// Where a line came from: the file (its index in the source) and its 1-based line number.
struct SourceLocation {
  std::size_t file = 0;
  std::size_t line = 0;
};

struct SourceLine {
  SourceLocation location;
  std::string text;
};

// A scenario's lines, into which `include` splices the lines of other files as they are reached,
// each line keeping the file and line it came from.
class ScenarioSource {
 public:
  ScenarioSource(std::string file_name, const std::vector<std::string>& lines);

  std::size_t size() const { return lines_.size(); }
  const SourceLine& operator[](std::size_t index) const { return lines_[index]; }
  const std::string& FileName(std::size_t file) const { return files_[file].name; }
  // Just past the last line of the top file, where its end is reported.
  SourceLocation End() const { return {0, top_line_count_}; }

  // Inserts the lines of PATH (relative to the folder of the file that line `index` came from)
  // after that line. Fails when the file cannot be read or is already being included.
  void Include(std::size_t index, const std::string& path);

  // False when the file cannot be read.
  static bool ReadLines(const std::string& path, std::vector<std::string>& lines);

 private:
  struct File {
    std::string name;
    std::size_t includer;  // the file whose line included it; itself for the top file
  };

  void Append(std::size_t file, const std::vector<std::string>& lines, std::size_t at);

  std::vector<File> files_;
  std::vector<SourceLine> lines_;
  std::size_t top_line_count_ = 0;
};

}  // namespace windlock::scenario
