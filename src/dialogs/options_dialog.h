#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/font.h"
#include "forms/form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// What the options dialog asks of the bar that owns it.
struct OptionsBarHooks {
  std::function<void(int32_t)> apply_skin;  // skin number: 10 "Original", 10 + k folder k
  std::function<void()> browse_for_skins;
  std::function<void()> close_sound;  // synchronous: the device holds no file afterwards
};

// frmOptions: the General tab edits pending values that OK and Apply store; the Skins, Trusted
// Sites and Untrusted Sites tabs act and save at once.
class OptionsDialog : public Form {
 public:
  OptionsDialog(Platform& platform, ModuleData& module, OptionsBarHooks bar);

  void Load();
  // Copies the settings into the controls of all four tabs; a failure is shown and ends the
  // fill.
  void FillOptions();
  // Copies the General tab and the working font into the settings and saves them.
  void ApplyOptions();
  void CtrlTab() override;

  const Font& working_font() const { return working_font_; }
  bool changed() const { return changed_; }
  const std::string& message_face() const { return message_face_; }

 private:
  // One of the two site tabs.
  struct SiteTab {
    const char* prefix;
    Control* list;
  };

  // Puts the controls made from `first` on into page `page` (0: General .. 3: Untrusted Sites).
  void PutOnPage(std::size_t first, std::size_t page);
  void AddGeneralTab();
  void AddSkinsTab();
  void AddSiteTab(SiteTab& tab, const std::string& frame, const std::string& label,
                  const std::string& text, const std::string& buttons, const std::string& list);
  void AddButtonRow();

  void SetChanged();
  void EnableAlertControls(bool enabled);
  void ShowPage(int tab);
  void ChooseAlertFont();
  void BrowseForSound();
  void ValidateSoundFile();

  void FillSiteLists();
  void AddSite(const SiteTab& tab);
  void RemoveSite(const SiteTab& tab);

  void FillSkinList();
  std::string SkinsFolder();
  void SkinButton(int index);
  void ApplySelectedSkin();
  void UninstallSelectedSkin();
  void BrowseForMoreSkins();

  Platform& platform_;
  ModuleData& module_;
  OptionsBarHooks bar_;
  Font working_font_;
  // The face of the alert message box's font: it shows the alert font's face only.
  std::string message_face_;
  bool changed_ = false;
  // The controls the code reaches, set once by the constructor.
  Control* tabs_ = nullptr;
  std::array<Control*, 4> pages_{};
  // Check1(0) to Check1(4), in the order of kCheckFields.
  std::array<Control*, 5> checks_{};
  Control* message_ = nullptr;
  Control* display_time_ = nullptr;
  Control* sound_file_ = nullptr;
  // What the alert check box enables: the message, its font, the time and the time's labels.
  std::array<Control*, 5> alert_controls_{};
  Control* apply_ = nullptr;
  Control* skin_list_ = nullptr;
  SiteTab trusted_{kTrustPrefix, nullptr};
  SiteTab untrusted_{kNoTrustPrefix, nullptr};
};

}  // namespace windlock
