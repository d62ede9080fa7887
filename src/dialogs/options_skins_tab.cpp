// The Skins tab: lists the skin folders and applies, removes or fetches skins.
#include <cctype>
#include <string>

#include "common/error.h"
#include "common/skin_paths.h"
#include "dialogs/options_dialog.h"

namespace windlock {
namespace {

constexpr int32_t kFirstSkinNumber = 10;

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

void OptionsDialog::AddSkinsTab() {
  AddControl("Frame1", ControlKind::kFrame).Place(0, 0, 6960, 4380);
  AddControl("Label5", ControlKind::kLabel).Place(120, 120, 3000, 2000).caption =
      "Skins change the overall look and sometimes operation of a program.  Here is where you "
      "can select a new skin or remove a skin from your skin library.";
  const char* const captions[] = {"Apply Selected Skin", "Uninstall Selected Skin",
                                  "Browse For More Skins"};
  for (int index = 0; index < 3; ++index) {
    Control& button = AddControl("btnskn(" + std::to_string(index) + ")", ControlKind::kButton)
                          .Place(120, 2280 + 480.0f * static_cast<float>(index), 2500, 375);
    button.caption = captions[index];
    button.on_click = [this, index] { SkinButton(index); };
  }
  skin_list_ = &AddControl("listSkins", ControlKind::kListBox).Place(3240, 120, 3600, 4140);
  skin_list_->accessible_name = "Skins";
}

std::string OptionsDialog::SkinsFolder() {
  return platform_.files.ProgramFolder() + "\\Skins";
}

void OptionsDialog::FillSkinList() {
  Control& list = *skin_list_;
  list.ClearLines();
  if (!platform_.files.FolderExists(SkinsFolder())) return;
  list.AddLine(kOriginalSkin);
  for (std::string& name : platform_.files.SubFolders(SkinsFolder())) list.AddLine(name);
}

void OptionsDialog::SkinButton(int index) {
  try {
    if (index == 0) ApplySelectedSkin();
    if (index == 1) UninstallSelectedSkin();
    if (index == 2) BrowseForMoreSkins();
  } catch (const Error& error) {
    platform_.ui.ShowMessageBox(error.description(), std::to_string(error.number()), kMbOk);
  }
}

void OptionsDialog::ApplySelectedSkin() {
  int position = skin_list_->list_index;
  if (position < 0) return;
  bar_.apply_skin(kFirstSkinNumber + position);
}

void OptionsDialog::UninstallSelectedSkin() {
  const Control& list = *skin_list_;
  int position = list.list_index;
  if (position < 0 || position >= static_cast<int>(list.lines.size())) return;
  if (position == 0) {
    platform_.ui.ShowMessageBox("You can not remove the default skin.", "Larkspan", kMbOk);
    return;
  }
  const std::string name = list.lines[static_cast<std::size_t>(position)];
  if (platform_.ui.ShowMessageBox("Are you sure you want to permanently remove the skin " + name,
                                  "Continue?", kMbYesNo) != kIdYes) {
    return;
  }
  // A listed name always names a folder inside the Skins folder; never reach outside it.
  if (!IsSafeSkinName(name)) return;
  // The bar must not be left showing a skin whose files are gone.
  if (SameName(module_.settings.DefaultSkin, name)) bar_.apply_skin(kFirstSkinNumber);
  platform_.files.RemoveFolder(SkinFolderPath(platform_.files.ProgramFolder(), name));
  // Each line must again stand for the skin number the bar will use.
  FillSkinList();
}

void OptionsDialog::BrowseForMoreSkins() {
  bar_.browse_for_skins();
  Unload();
}

}  // namespace windlock
