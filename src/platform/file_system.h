#pragma once

#include <string>
#include <vector>

namespace windlock {

// Files and folders by Windows path (case-insensitive). Real: kernel32 (win32). Fake:
// SimFileSystem.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Names of the subfolders in the order the file system lists them; fails when the folder is
  // missing.
  virtual std::vector<std::string> SubFolders(const std::string& path) = 0;
  // Removes a folder with everything in it, read-only files included; fails when it cannot.
  virtual void RemoveFolder(const std::string& path) = 0;
  // The folder that holds the server file, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
};

}  // namespace windlock
