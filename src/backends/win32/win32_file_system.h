#pragma once

#include "platform/file_system.h"

namespace windlock::win32 {

// Files and folders through kernel32; the program folder is the server file's own.
class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> SubFolders(const std::string& path) override;
  void RemoveFolder(const std::string& path) override;
  std::string ProgramFolder() override;
};

}  // namespace windlock::win32
