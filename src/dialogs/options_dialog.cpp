#include "dialogs/options_dialog.h"

#include <algorithm>
#include <string>

#include "forms/error_message.h"
#include "settings/save_reporting.h"

namespace windlock {
namespace {

constexpr int kTabCount = 4;
constexpr int kSliderMin = 1;
constexpr int kSliderMax = 5000;
// Where a hidden page waits: far outside the client area.
constexpr float kHiddenPageLeft = -20000;
constexpr float kPageLeft = 120;

// Check1 indexes 0 to 4 in the order the settings fields are copied.
bool Settings::*const kCheckFields[] = {&Settings::CaptureWhenClosed, &Settings::PromptToAdd,
                                        &Settings::ShowVisualCapture, &Settings::AutoStart,
                                        &Settings::AutoStartVisible};

bool EndsWithWav(const std::string& path) {
  return path.size() >= 4 && path.compare(path.size() - 4, 4, ".wav") == 0;
}

}  // namespace

OptionsDialog::OptionsDialog(Platform& platform, ModuleData& module, OptionsBarHooks bar)
    : Form("frmOptions"), platform_(platform), module_(module), bar_(std::move(bar)) {
  caption = "Larkspan Windlock Options";
  width = 7440;
  height = 6000;
  tabs_ = &AddControl("tbsOptions", ControlKind::kTabStrip).Place(60, 60, 7200, 4920);
  tabs_->lines = {"General", "Skins", "Trusted Sites", "Untrusted Sites"};
  tabs_->accessible_name = "Options";
  tabs_->value = 1;
  tabs_->on_click = [this] { ShowPage(tabs_->value); };
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    pages_[page] = &AddControl("picOptions(" + std::to_string(page) + ")", ControlKind::kPicture)
                        .Place(kPageLeft, 480, 6960, 4380);
  }
  std::size_t first = controls().size();
  AddGeneralTab();
  PutOnPage(first, 0);
  first = controls().size();
  AddSkinsTab();
  PutOnPage(first, 1);
  first = controls().size();
  AddSiteTab(trusted_, "fraSample2", "Label1",
             "Here is where you may add or remove sites from trusted list.The sites listed here "
             "have been marked as trusted.  Trusted sites will have the ability to bypass the "
             "pop-up stopper.",
             "Command1", "List1");
  trusted_.list->accessible_name = "Trusted sites";
  PutOnPage(first, 2);
  first = controls().size();
  AddSiteTab(untrusted_, "fraSample3", "Label3",
             "Here is where you may add or remove sites from the UnTrusted list.  The sites "
             "listed here have been marked as untrusted.  Untrusted sites pop-up windows will "
             "always be captured regarless of the user's option settings.",
             "Command2", "UntrustedListBox");
  untrusted_.list->accessible_name = "Untrusted sites";
  PutOnPage(first, 3);
  AddButtonRow();
}

void OptionsDialog::PutOnPage(std::size_t first, std::size_t page) {
  // Each tab's first control is its frame, filling the page; the rest lie in the frame.
  const auto& all = controls();
  Control& frame = *all[first];
  frame.container = pages_[page];
  frame.accessible_name = pages_[page]->accessible_name = tabs_->lines[page];
  for (std::size_t index = first + 1; index < all.size(); ++index) all[index]->container = &frame;
}

void OptionsDialog::AddGeneralTab() {
  AddControl("fraSample1", ControlKind::kFrame).Place(0, 0, 6960, 4380);
  const struct {
    int index;
    const char* caption;
    float left, top, width;
  } checks[] = {
      {3, "Always start when IE starts.", 120, 120, 3300},
      {4, "Always Start Visible", 3540, 120, 3300},
      {0, "Capture Pop-up Windows When Tool Bar Is Closed.", 120, 480, 6700},
      {1, "On Pop-up Capture, Prompt To Add Site To Trusted Site List.", 120, 840, 6700},
      {2, "Visual Notification Of Pop-up Being Captured.", 120, 1200, 6700},
  };
  for (const auto& check : checks) {
    Control& box = AddControl("Check1(" + std::to_string(check.index) + ")", ControlKind::kCheckBox)
                       .Place(check.left, check.top, check.width, 255);
    box.caption = check.caption;
    box.on_click = [this, index = check.index] {
      if (index == 2) EnableAlertControls(checks_[2]->checked());
      SetChanged();
    };
    checks_[static_cast<std::size_t>(check.index)] = &box;
  }
  message_ = &AddControl("alertmessagetextbox", ControlKind::kTextBox);
  message_->accessible_name = "Alert message";
  message_->Place(360, 1560, 4800, 315).on_change = [this] { SetChanged(); };
  Control& font = AddControl("cmdFont", ControlKind::kButton).Place(5280, 1560, 1500, 315);
  font.caption = "Change Font";
  font.on_click = [this] { ChooseAlertFont(); };
  Control& shortest = AddControl("Label4(0)", ControlKind::kLabel).Place(360, 2000, 1500, 225);
  shortest.caption = "1 millisecond";
  Control& longest = AddControl("Label4(1)", ControlKind::kLabel).Place(5280, 2000, 1500, 225);
  longest.caption = "5 seconds";
  display_time_ = &AddControl("cmdDisplayTime", ControlKind::kSlider).Place(360, 2280, 6420, 420);
  display_time_->accessible_name = "Alert display time";
  display_time_->value = kSliderMin;
  display_time_->minimum = kSliderMin;
  display_time_->maximum = kSliderMax;
  alert_controls_ = {message_, &font, display_time_, &shortest, &longest};
  AddControl("Label2", ControlKind::kLabel).Place(120, 2880, 6700, 225).caption =
      "Sound To Play When Pop-up Captured (leave blank for none):";
  sound_file_ = &AddControl("SoundFileTextBox", ControlKind::kTextBox);
  sound_file_->accessible_name = "Sound file";
  sound_file_->Place(120, 3180, 6060, 315).on_validate = [this] { ValidateSoundFile(); };
  Control& browse =
      AddControl("OpenSoudFileButton", ControlKind::kButton).Place(6300, 3180, 480, 315);
  browse.caption = "...";
  browse.accessible_name = "Browse for a sound file";
  browse.on_click = [this] { BrowseForSound(); };
}

void OptionsDialog::AddButtonRow() {
  const auto add_button = [this](const char* name, const char* button_caption, float left) {
    Control& button = AddControl(name, ControlKind::kButton).Place(left, 5100, 1095, 375);
    button.caption = button_caption;
    return &button;
  };
  add_button("cmdOK", "OK", 3600)->on_click = [this] {
    ApplyOptions();
    Unload();
  };
  cancel_button_ = add_button("cmdCancel", "Cancel", 4830);
  cancel_button_->on_click = [this] { Unload(); };
  apply_ = add_button("cmdApply", "Apply", 6060);
  apply_->on_click = [this] {
    ApplyOptions();
    changed_ = false;
    apply_->enabled = false;
  };
}

void OptionsDialog::Load() {
  working_font_ = Font{};
  FillOptions();
  if (!checks_[2]->checked()) EnableAlertControls(false);
  changed_ = false;
  apply_->enabled = false;
  ShowPage(1);
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  MarkLoaded();
}

void OptionsDialog::FillOptions() {
  try {
    const Settings& settings = module_.settings;
    for (std::size_t index = 0; index < checks_.size(); ++index) {
      checks_[index]->value = settings.*kCheckFields[index] ? 1 : 0;
    }
    EnableAlertControls(checks_[2]->checked());
    sound_file_->text = settings.PlayAudioCapture;
    message_->text = settings.PopupAlertMessage;
    message_face_ = settings.PopupAlertFont.name;
    working_font_ = settings.PopupAlertFont;
    // The slider cannot show a time outside its range.
    display_time_->value =
        std::clamp<int32_t>(settings.PopupAlertDisplayTime, kSliderMin, kSliderMax);
    FillSiteLists();
    FillSkinList();
  } catch (const Error& error) {
    platform_.ui.ShowMessageBox(std::string("Error Initializing The Options Box") + kCrLf + "0" +
                                    kCrLf + std::to_string(error.number()) + kCrLf +
                                    error.description(),
                                "Error", kMbOk);
  }
}

void OptionsDialog::ApplyOptions() {
  Settings& settings = module_.settings;
  for (std::size_t index = 0; index < checks_.size(); ++index) {
    settings.*kCheckFields[index] = checks_[index]->checked();
  }
  settings.PlayAudioCapture = sound_file_->text;
  settings.PopupAlertMessage = message_->text;
  settings.PopupAlertDisplayTime = display_time_->value;
  settings.PopupAlertFont = working_font_;
  if (!platform_.files.FileExists(settings.PlayAudioCapture)) {
    settings.PlayAudioCapture = kNoSound;
    // The device must not go on holding the old file.
    if (bar_.close_sound) bar_.close_sound();
  }
  SaveSettingsReporting(settings, platform_);
}

void OptionsDialog::SetChanged() {
  changed_ = true;
  apply_->enabled = true;
}

void OptionsDialog::EnableAlertControls(bool enabled) {
  for (Control* control : alert_controls_) control->enabled = enabled;
}

void OptionsDialog::ShowPage(int tab) {
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    bool shown = static_cast<int>(page) == tab - 1;
    Control& picture = *pages_[page];
    picture.visible = shown;
    picture.enabled = shown;
    picture.left = shown ? kPageLeft : kHiddenPageLeft;
  }
}

void OptionsDialog::CtrlTab() {
  tabs_->Select(tabs_->value % kTabCount + 1);
}

void OptionsDialog::ChooseAlertFont() {
  // Preset from the stored font: an unapplied earlier choice is not the starting point.
  std::optional<Font> chosen = platform_.ui.ShowFontDialog(module_.settings.PopupAlertFont);
  if (!chosen) return;
  working_font_ = *chosen;
  message_face_ = working_font_.name;
  SetChanged();
}

void OptionsDialog::BrowseForSound() {
  std::optional<std::string> path =
      platform_.ui.ShowOpenFileDialog("Select Sound File To Play On Notification",
                                      "Sound Files (*.wav)|*.wav", platform_.files.ProgramFolder());
  if (!path) return;
  sound_file_->text = *path;
  SetChanged();
}

void OptionsDialog::ValidateSoundFile() {
  Control& box = *sound_file_;
  if (!EndsWithWav(box.text) || !platform_.files.FileExists(box.text)) box.text = kNoSound;
  if (box.text != module_.settings.PlayAudioCapture) SetChanged();
}

}  // namespace windlock
