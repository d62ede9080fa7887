#pragma once

#include <string>
#include <string_view>

namespace windlock {

inline constexpr const char* kOriginalSkin = "Original";

// A skin name that names a folder directly inside the Skins folder: not empty, no path
// separator, no "..".
bool IsSafeSkinName(std::string_view name);

// program folder + "\Skins\" + name
std::string SkinFolderPath(const std::string& program_folder, const std::string& name);

// program folder + "\Skins\" + name + "\" + name + extension (".htm", ".hta", ".xml")
std::string SkinFilePath(const std::string& program_folder, const std::string& name,
                         const std::string& extension);

}  // namespace windlock
