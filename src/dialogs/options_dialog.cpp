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

const char* const kAlertControls[] = {"alertmessagetextbox", "cmdFont", "cmdDisplayTime",
                                      "Label4(0)", "Label4(1)"};

// Check1 indexes 0 to 4 in the order the settings fields are copied.
bool Settings::*const kCheckFields[] = {&Settings::CaptureWhenClosed, &Settings::PromptToAdd,
                                        &Settings::ShowVisualCapture, &Settings::AutoStart,
                                        &Settings::AutoStartVisible};

std::string CheckName(int index) {
  return "Check1(" + std::to_string(index) + ")";
}

bool EndsWithWav(const std::string& path) {
  return path.size() >= 4 && path.compare(path.size() - 4, 4, ".wav") == 0;
}

}  // namespace

OptionsDialog::OptionsDialog(Platform& platform, ModuleData& module, OptionsBarHooks bar)
    : Form("frmOptions"), platform_(platform), module_(module), bar_(std::move(bar)) {
  caption = "Larkspan Windlock Options";
  width = 7440;
  height = 6000;
  Control& tabs = AddControl("tbsOptions", ControlKind::kTabStrip).Place(60, 60, 7200, 4920);
  tabs.lines = {"General", "Skins", "Trusted Sites", "Untrusted Sites"};
  tabs.value = 1;
  tabs.on_click = [this] { ShowPage(Named("tbsOptions").value); };
  for (int page = 0; page < kTabCount; ++page) {
    AddControl(kPages[page], ControlKind::kPicture).Place(kPageLeft, 480, 6960, 4380);
  }
  AddGeneralTab();
  AddSkinsTab();
  AddSiteTab(trusted_, "fraSample2", "Label1",
             "Here is where you may add or remove sites from trusted list.The sites listed here "
             "have been marked as trusted.  Trusted sites will have the ability to bypass the "
             "pop-up stopper.",
             "Command1", "List1");
  AddSiteTab(untrusted_, "fraSample3", "Label3",
             "Here is where you may add or remove sites from the UnTrusted list.  The sites "
             "listed here have been marked as untrusted.  Untrusted sites pop-up windows will "
             "always be captured regarless of the user's option settings.",
             "Command2", "UntrustedListBox");
  AddButtonRow();
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
    Control& box = AddControl(CheckName(check.index), ControlKind::kCheckBox)
                       .Place(check.left, check.top, check.width, 255);
    box.caption = check.caption;
    box.on_click = [this, index = check.index] {
      if (index == 2) EnableAlertControls(Named(CheckName(2)).checked());
      SetChanged();
    };
  }
  Control& message = AddControl("alertmessagetextbox", ControlKind::kTextBox);
  message.Place(360, 1560, 4800, 315).on_change = [this] { SetChanged(); };
  Control& font = AddControl("cmdFont", ControlKind::kButton).Place(5280, 1560, 1500, 315);
  font.caption = "Change Font";
  font.on_click = [this] { ChooseAlertFont(); };
  AddControl("Label4(0)", ControlKind::kLabel).Place(360, 2000, 1500, 225).caption =
      "1 millisecond";
  AddControl("Label4(1)", ControlKind::kLabel).Place(5280, 2000, 1500, 225).caption = "5 seconds";
  AddControl("cmdDisplayTime", ControlKind::kSlider).Place(360, 2280, 6420, 420).value = kSliderMin;
  AddControl("Label2", ControlKind::kLabel).Place(120, 2880, 6700, 225).caption =
      "Sound To Play When Pop-up Captured (leave blank for none):";
  Control& sound = AddControl("SoundFileTextBox", ControlKind::kTextBox);
  sound.Place(120, 3180, 6060, 315).on_validate = [this] { ValidateSoundFile(); };
  Control& browse =
      AddControl("OpenSoudFileButton", ControlKind::kButton).Place(6300, 3180, 480, 315);
  browse.caption = "...";
  browse.on_click = [this] { BrowseForSound(); };
}

void OptionsDialog::AddButtonRow() {
  const char* const names[] = {"cmdOK", "cmdCancel", "cmdApply"};
  const char* const captions[] = {"OK", "Cancel", "Apply"};
  for (int i = 0; i < 3; ++i) {
    AddControl(names[i], ControlKind::kButton)
        .Place(3600 + 1230.0f * static_cast<float>(i), 5100, 1095, 375)
        .caption = captions[i];
  }
  Named("cmdOK").on_click = [this] {
    ApplyOptions();
    Unload();
  };
  Named("cmdCancel").on_click = [this] { Unload(); };
  Named("cmdApply").on_click = [this] {
    ApplyOptions();
    changed_ = false;
    Named("cmdApply").enabled = false;
  };
  cancel_button_ = &Named("cmdCancel");
}

void OptionsDialog::Load() {
  working_font_ = Font{};
  FillOptions();
  if (!Named(CheckName(2)).checked()) EnableAlertControls(false);
  changed_ = false;
  Named("cmdApply").enabled = false;
  ShowPage(1);
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  MarkLoaded();
}

void OptionsDialog::FillOptions() {
  try {
    const Settings& settings = module_.settings;
    for (int index = 0; index < 5; ++index) {
      Named(CheckName(index)).value = settings.*kCheckFields[index] ? 1 : 0;
    }
    EnableAlertControls(Named(CheckName(2)).checked());
    Named("SoundFileTextBox").text = settings.PlayAudioCapture;
    Named("alertmessagetextbox").text = settings.PopupAlertMessage;
    message_face_ = settings.PopupAlertFont.name;
    working_font_ = settings.PopupAlertFont;
    // The slider cannot show a time outside its range.
    Named("cmdDisplayTime").value =
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
  for (int index = 0; index < 5; ++index) {
    settings.*kCheckFields[index] = Named(CheckName(index)).checked();
  }
  settings.PlayAudioCapture = Named("SoundFileTextBox").text;
  settings.PopupAlertMessage = Named("alertmessagetextbox").text;
  settings.PopupAlertDisplayTime = Named("cmdDisplayTime").value;
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
  Named("cmdApply").enabled = true;
}

void OptionsDialog::EnableAlertControls(bool enabled) {
  for (const char* name : kAlertControls) Named(name).enabled = enabled;
}

void OptionsDialog::ShowPage(int tab) {
  for (int page = 0; page < kTabCount; ++page) {
    bool shown = page == tab - 1;
    Control& picture = Page(page);
    picture.visible = shown;
    picture.enabled = shown;
    picture.left = shown ? kPageLeft : kHiddenPageLeft;
  }
}

void OptionsDialog::CtrlTab() {
  Control& tabs = Named("tbsOptions");
  tabs.Select(tabs.value % kTabCount + 1);
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
  Named("SoundFileTextBox").text = *path;
  SetChanged();
}

void OptionsDialog::ValidateSoundFile() {
  Control& box = Named("SoundFileTextBox");
  if (!EndsWithWav(box.text) || !platform_.files.FileExists(box.text)) box.text = kNoSound;
  if (box.text != module_.settings.PlayAudioCapture) SetChanged();
}

}  // namespace windlock
