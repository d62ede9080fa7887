#pragma once

namespace windlock::settings_path {

// Full paths of the stored settings (the settings root and the value name joined).
#define WINDLOCK_SETTINGS_ROOT "HKCU\\Software\\Larkspan\\Windlock"
inline constexpr const char* kRoot = WINDLOCK_SETTINGS_ROOT;
inline constexpr const char* kCaptureWhenClosed =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Capture When Closed";
inline constexpr const char* kShowVisualCapture =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Show Visual Capture";
inline constexpr const char* kPlayAudioCapture =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Play Audio Capture";
inline constexpr const char* kUpdateUrl = WINDLOCK_SETTINGS_ROOT "\\Options\\UpdateURL";
inline constexpr const char* kBrowseSkinsUrl = WINDLOCK_SETTINGS_ROOT "\\Options\\BrowseSkinsURL";
inline constexpr const char* kPopupAlertMessage =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Message";
inline constexpr const char* kFontBold = WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Bold";
inline constexpr const char* kFontItalic =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Italic";
inline constexpr const char* kFontName = WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Name";
inline constexpr const char* kFontSize = WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Size";
inline constexpr const char* kFontStrikethrough =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Strikethrough";
inline constexpr const char* kFontUnderline =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Font Underline";
inline constexpr const char* kDisplayTime =
    WINDLOCK_SETTINGS_ROOT "\\Options\\Popup Alert Display Time";
inline constexpr const char* kPromptToAdd = WINDLOCK_SETTINGS_ROOT "\\Options\\Prompt To Add";
inline constexpr const char* kSiteCount = WINDLOCK_SETTINGS_ROOT "\\Trusted Sites\\";
inline constexpr const char* kSitesKey = WINDLOCK_SETTINGS_ROOT "\\Trusted Sites";
inline constexpr const char* kSitePrefix = WINDLOCK_SETTINGS_ROOT "\\Trusted Sites\\site";
inline constexpr const char* kDefaultSkin = WINDLOCK_SETTINGS_ROOT "\\Options\\DefaultSkin";
inline constexpr const char* kAutoStart = WINDLOCK_SETTINGS_ROOT "\\Options\\AutoStart";
inline constexpr const char* kAutoStartVisible =
    WINDLOCK_SETTINGS_ROOT "\\Options\\AutoStartVisible";
inline constexpr const char* kVisible = WINDLOCK_SETTINGS_ROOT "\\Options\\Visible";
#undef WINDLOCK_SETTINGS_ROOT

}  // namespace windlock::settings_path
