#include "settings/settings_store.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "common/skin_paths.h"
#include "forms/error_message.h"
#include "settings/registry_reader.h"
#include "settings/settings_paths.h"

namespace windlock {

const char* const kDefaultUpdateUrl = "http:\\\\www.larkspan.com\\updates";
const char* const kDefaultBrowseSkinsUrl = "http:\\\\www.larkspan.com\\windlock\\skins";

namespace {

namespace path = settings_path;

constexpr int32_t kMaxDisplayTime = 5000;
// The font dialog's own range of point sizes.
constexpr int32_t kMinFontSize = 1;
constexpr int32_t kMaxFontSize = 1638;

std::string SitePath(std::size_t index) {
  return path::kSitePrefix + std::to_string(index);
}

float ReadFontSize(Registry& registry) {
  int32_t size = ReadLong(registry, path::kFontSize);
  if (size < kMinFontSize || size > kMaxFontSize) {
    throw Error(kErrInvalidPropertyValue, "Invalid property value");
  }
  return static_cast<float>(size);
}

// "site" + a decimal number without leading zeros, any letter case (registry names are not
// case-sensitive).
std::optional<int64_t> SiteNumber(const std::string& name) {
  static constexpr std::string_view kSite = "site";
  if (name.size() <= kSite.size() || name.size() > kSite.size() + 10) return std::nullopt;
  for (std::size_t i = 0; i < kSite.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kSite[i]) return std::nullopt;
  }
  std::string_view digits = std::string_view(name).substr(kSite.size());
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  int64_t number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

// The numbers of the stored "site" values below `bound`, in order: found by listing the key, so
// that a huge or missing count costs no more than the values present.
std::vector<int64_t> PresentSiteNumbers(Registry& registry, int64_t bound) {
  std::vector<int64_t> present;
  for (const std::string& name : registry.ValueNames(path::kSitesKey)) {
    std::optional<int64_t> number = SiteNumber(name);
    if (number && *number < bound) present.push_back(*number);
  }
  std::sort(present.begin(), present.end());
  return present;
}

// Reads the values one by one, so a count far above what is stored costs nothing up front.
void ReadSites(Registry& registry, SiteList& sites) {
  int32_t count = ReadLong(registry, path::kSiteCount);
  if (count <= 0) {
    sites.Assign({});
    return;
  }
  std::vector<std::string> entries;
  for (int32_t i = 0; i < count; ++i) entries.push_back(ReadText(registry, SitePath(i)));
  sites.Assign(std::move(entries));
}

// After a failed load: every stored site that can be read, in stored order. The sites are the
// user's own entries, not options with a default; the next save writes the whole record, so
// dropping them here would delete them from the store. With no readable count, every "site"
// value present counts.
std::vector<std::string> ReadableSites(Registry& registry) {
  int64_t bound = std::numeric_limits<int64_t>::max();
  try {
    bound = ReadLong(registry, path::kSiteCount);
  } catch (const Error&) {
  }
  std::vector<std::string> entries;
  for (int64_t number : PresentSiteNumbers(registry, bound)) {
    try {
      entries.push_back(ReadText(registry, SitePath(static_cast<std::size_t>(number))));
    } catch (const Error&) {
    }
  }
  return entries;
}

std::string LoadedSkin(Platform& platform, const std::string& stored) {
  if (!IsSafeSkinName(stored)) return kOriginalSkin;
  if (!platform.files.FolderExists(SkinFolderPath(platform.files.ProgramFolder(), stored))) {
    return kOriginalSkin;
  }
  return stored;
}

void ReadAll(Settings& settings, Platform& platform) {
  Registry& registry = platform.registry;
  settings.CaptureWhenClosed = ReadFlag(registry, path::kCaptureWhenClosed);
  settings.ShowVisualCapture = ReadFlag(registry, path::kShowVisualCapture);
  settings.PlayAudioCapture = ReadText(registry, path::kPlayAudioCapture);
  settings.UpdateURL = ReadText(registry, path::kUpdateUrl);
  settings.BrowseSkinsURL = ReadText(registry, path::kBrowseSkinsUrl);
  settings.PopupAlertMessage = ReadText(registry, path::kPopupAlertMessage);
  Font& font = settings.PopupAlertFont;
  font.bold = ReadFlag(registry, path::kFontBold);
  font.italic = ReadFlag(registry, path::kFontItalic);
  font.name = ReadText(registry, path::kFontName);
  font.size = ReadFontSize(registry);
  font.strikethrough = ReadFlag(registry, path::kFontStrikethrough);
  font.underline = ReadFlag(registry, path::kFontUnderline);
  settings.PopupAlertDisplayTime =
      std::min(ReadLong(registry, path::kDisplayTime), kMaxDisplayTime);
  settings.PromptToAdd = ReadFlag(registry, path::kPromptToAdd);
  ReadSites(registry, settings.Sites);
  if (settings.PlayAudioCapture != kNoSound &&
      !platform.files.FileExists(settings.PlayAudioCapture)) {
    settings.PlayAudioCapture = kNoSound;
  }
  settings.DefaultSkin = LoadedSkin(platform, ReadText(registry, path::kDefaultSkin));
  settings.AutoStart = ReadFlag(registry, path::kAutoStart);
  settings.AutoStartVisible = ReadFlag(registry, path::kAutoStartVisible);
  settings.Visible = settings.AutoStartVisible || ReadFlag(registry, path::kVisible);
}

void ApplyDefaults(Settings& settings) {
  settings.PromptToAdd = false;
  settings.ShowVisualCapture = true;
  settings.CaptureWhenClosed = true;
  settings.PlayAudioCapture = kNoSound;
  settings.PopupAlertMessage = "Pop-up Captured";
  settings.BrowseSkinsURL = kDefaultBrowseSkinsUrl;
  settings.UpdateURL = kDefaultUpdateUrl;
  settings.PopupAlertFont = Font{};
  settings.PopupAlertDisplayTime = 1000;
}

void WriteFlag(Registry& registry, const char* value_path, bool flag) {
  registry.WriteDword(value_path, flag ? 1 : 0);
}

// The stored count of the list being replaced; a missing or unreadable one counts as 0, or the
// list could never be saved on a fresh install.
int32_t StoredSiteCount(Registry& registry) {
  try {
    return ReadLong(registry, path::kSiteCount);
  } catch (const Error&) {
    return 0;
  }
}

// Deletes the old list's values that exist; a gap in the old numbering is passed over.
void DeleteStoredSites(Registry& registry) {
  for (int64_t number : PresentSiteNumbers(registry, StoredSiteCount(registry))) {
    registry.Delete(SitePath(static_cast<std::size_t>(number)));
  }
}

}  // namespace

Settings DefaultSettings() {
  Settings settings;
  ApplyDefaults(settings);
  settings.DefaultSkin = kOriginalSkin;
  return settings;
}

void LoadSettings(Settings& settings, Platform& platform) {
  try {
    ReadAll(settings, platform);
  } catch (const Error&) {
    platform.ui.ShowMessageBox(
        std::string("There Was An Error Determining The User Defined Options") + kCrLf +
            "You May Need To Re-install The Software To Correct The Error." + kCrLf +
            "The Default Options Will Be Used Instead",
        std::string("Error"), kMbIconCritical);
    ApplyDefaults(settings);
    settings.Sites.Assign(ReadableSites(platform.registry));
  }
  if (settings.DefaultSkin.empty()) settings.DefaultSkin = kOriginalSkin;
}

void SaveSettings(const Settings& settings, Registry& registry) {
  WriteFlag(registry, path::kCaptureWhenClosed, settings.CaptureWhenClosed);
  WriteFlag(registry, path::kShowVisualCapture, settings.ShowVisualCapture);
  WriteFlag(registry, path::kPromptToAdd, settings.PromptToAdd);
  registry.WriteString(path::kPlayAudioCapture, settings.PlayAudioCapture);
  registry.WriteString(path::kUpdateUrl, settings.UpdateURL);
  registry.WriteString(path::kBrowseSkinsUrl, settings.BrowseSkinsURL);
  registry.WriteString(path::kPopupAlertMessage, settings.PopupAlertMessage);
  const Font& font = settings.PopupAlertFont;
  registry.WriteString(path::kFontName, font.name);
  WriteFlag(registry, path::kFontBold, font.bold);
  WriteFlag(registry, path::kFontItalic, font.italic);
  WriteFlag(registry, path::kFontStrikethrough, font.strikethrough);
  WriteFlag(registry, path::kFontUnderline, font.underline);
  registry.WriteDword(path::kFontSize, static_cast<uint32_t>(WholePoints(font.size)));
  registry.WriteDword(path::kDisplayTime, static_cast<uint32_t>(settings.PopupAlertDisplayTime));
  WriteFlag(registry, path::kAutoStart, settings.AutoStart);
  WriteFlag(registry, path::kAutoStartVisible, settings.AutoStartVisible);
  WriteFlag(registry, path::kVisible, settings.Visible);
  DeleteStoredSites(registry);
  registry.WriteDword(path::kSiteCount, static_cast<uint32_t>(settings.SiteCount()));
  for (std::size_t i = 0; i < settings.Sites.size(); ++i) {
    registry.WriteString(SitePath(i), settings.Sites[i]);
  }
  registry.WriteString(path::kDefaultSkin, settings.DefaultSkin);
}

}  // namespace windlock
