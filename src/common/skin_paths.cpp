#include "common/skin_paths.h"

namespace windlock {

bool IsSafeSkinName(std::string_view name) {
  return !name.empty() && name.find_first_of("\\/") == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

std::string SkinFolderPath(const std::string& program_folder, const std::string& name) {
  return program_folder + "\\Skins\\" + name;
}

std::string SkinFilePath(const std::string& program_folder, const std::string& name,
                         const std::string& extension) {
  return SkinFolderPath(program_folder, name) + "\\" + name + extension;
}

}  // namespace windlock
