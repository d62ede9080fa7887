#pragma once

#include <cstdint>
#include <string>

#include "common/font.h"
#include "settings/site_list.h"

namespace windlock {

// The user's choices, one record per browser thread. `SiteCount` is the size of `Sites`.
struct Settings {
  bool AutoStartVisible = false;
  bool AutoStart = false;
  bool Visible = false;
  std::string DefaultSkin;
  Font PopupAlertFont;
  std::string PopupAlertMessage;
  int32_t PopupAlertDisplayTime = 0;
  bool CaptureWhenClosed = false;
  bool ShowVisualCapture = false;
  std::string PlayAudioCapture;
  bool PromptToAdd = false;
  std::string UpdateURL;
  std::string BrowseSkinsURL;
  SiteList Sites;

  int32_t SiteCount() const { return static_cast<int32_t>(Sites.size()); }
};

inline constexpr const char* kNoSound = "(none)";
inline constexpr const char* kTrustPrefix = "trust:";
inline constexpr const char* kNoTrustPrefix = "notrust:";

// The per-thread module data: the settings and the texts the dialogs and menus exchange.
struct ModuleData {
  Settings settings;
  std::string DialogURL;
  std::string MenuContext;
};

}  // namespace windlock
