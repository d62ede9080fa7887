#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace windlock::sim {

// An in-memory file system of Windows paths, names compared without letter case; subfolders
// are listed in case-insensitive name order. A folder is removed deepest entry first, and a file
// or folder in use stops the removal where it stands, as a recursive delete on Windows does.
class SimFileSystem : public FileSystem {
 public:
  static constexpr const char* kProgramFolder = "C:\\Program Files\\Larkspan\\Windlock";

  SimFileSystem();

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> SubFolders(const std::string& path) override;
  void RemoveFolder(const std::string& path) override;
  std::string ProgramFolder() override { return kProgramFolder; }

  // For the simulated services that save files (XML documents): writes a file as a program
  // does. Its folder must exist, and a read-only file or a folder of that name cannot be
  // replaced; fails with an Error.
  void WriteFile(const std::string& path, std::string text);

  // Set-up and inspection, not seen by the program.
  void AddFile(const std::string& path, std::string text);
  void AddFolder(const std::string& path);
  void RemovePath(const std::string& path);
  void MakeReadOnly(const std::string& path);
  // Another program holds the file or folder open from now on; false when there is none.
  bool MarkInUse(const std::string& path);
  // The file's text, or none when there is no such file.
  std::optional<std::string> ReadFile(const std::string& path) const;

 private:
  struct Entry {
    std::string path;  // as first written
    bool folder = false;
    bool read_only = false;
    std::string text;
    bool in_use = false;
  };

  const Entry* Find(const std::string& path) const;

  std::map<std::string, Entry> entries_;  // by folded path without a trailing backslash
};

}  // namespace windlock::sim
