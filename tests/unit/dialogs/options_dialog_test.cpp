#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"
#include "options_rig.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

using unit::OptionsRig;

TEST(OptionsDialogTest, OpensWithApplyOffAndAlertControlsFollowingTheirCheckBox) {
  const char* const alert_controls[] = {"alertmessagetextbox", "cmdFont", "cmdDisplayTime",
                                        "Label4(0)", "Label4(1)"};
  for (bool alert_on : {false, true}) {
    SCOPED_TRACE(alert_on ? "alert on" : "alert off");
    OptionsRig rig;
    rig.h.settings().ShowVisualCapture = alert_on;
    OptionsDialog& dialog = rig.Open();
    EXPECT_FALSE(dialog.FindControl("cmdApply")->enabled);
    EXPECT_FALSE(dialog.changed());
    EXPECT_EQ(dialog.FindControl("tbsOptions")->value, 1);
    for (const char* name : alert_controls) {
      EXPECT_EQ(dialog.FindControl(name)->enabled, alert_on) << name;
    }
    for (int round = 0; round < 2; ++round) {
      dialog.FindControl("Check1(2)")->Click();
      bool now_on = dialog.FindControl("Check1(2)")->checked();
      EXPECT_NE(now_on, round == 0 ? alert_on : !alert_on);
      for (const char* name : alert_controls) {
        EXPECT_EQ(dialog.FindControl(name)->enabled, now_on) << name;
      }
    }
    EXPECT_TRUE(dialog.FindControl("cmdApply")->enabled);
  }
}

TEST(OptionsDialogTest, SoundBoxKeepsOnlyExistingLowerCaseWavFiles) {
  struct Case {
    const char* name;
    const char* typed;
    const char* stored;
    const char* shown;
    bool changed;
  };
  const Case cases[] = {
      {"cleared", "", "C:\\Media\\ding.wav", "(none)", true},
      {"none stays none", "(none)", "(none)", "(none)", false},
      {"capital extension of an existing file", "C:\\Media\\DING.WAV", "(none)", "(none)", false},
      {"missing file", "C:\\Media\\gone.wav", "C:\\Media\\ding.wav", "(none)", true},
      {"three characters", "wav", "(none)", "(none)", false},
      {"only the extension", ".wav", "(none)", "(none)", false},
      {"existing file", "C:\\Media\\ding.wav", "(none)", "C:\\Media\\ding.wav", true},
      {"existing file as stored", "C:\\Media\\ding.wav", "C:\\Media\\ding.wav",
       "C:\\Media\\ding.wav", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    rig.h.machine.files.AddFile("C:\\Media\\ding.wav", "");
    rig.h.machine.files.AddFile("C:\\Media\\DING.WAV", "");
    rig.h.settings().PlayAudioCapture = c.stored;
    OptionsDialog& dialog = rig.Open();
    Control& box = *dialog.FindControl("SoundFileTextBox");
    box.Type(c.typed);
    box.Leave();
    EXPECT_EQ(box.text, c.shown);
    EXPECT_EQ(dialog.changed(), c.changed);
    EXPECT_EQ(dialog.FindControl("cmdApply")->enabled, c.changed);
  }
}

TEST(OptionsDialogTest, ApplyAndOkStoreNoneForAMissingSoundAndCloseTheDevice) {
  struct Case {
    const char* name;
    const char* button;
    const char* box;
    bool file_exists;
    const char* stored;
  };
  const Case cases[] = {
      {"Apply, file deleted meanwhile", "cmdApply", "C:\\Media\\ding.wav", false, "(none)"},
      {"OK, file deleted meanwhile", "cmdOK", "C:\\Media\\ding.wav", false, "(none)"},
      {"OK with no sound", "cmdOK", "(none)", false, "(none)"},
      {"Apply with an existing file", "cmdApply", "C:\\Media\\ding.wav", true,
       "C:\\Media\\ding.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    rig.h.machine.files.AddFile("C:\\Media\\ding.wav", "");
    rig.h.settings().PlayAudioCapture = "C:\\Media\\ding.wav";
    OptionsDialog& dialog = rig.Open();
    dialog.FindControl("SoundFileTextBox")->text = c.box;
    if (!c.file_exists) rig.h.machine.files.RemovePath("C:\\Media\\ding.wav");
    // Apply opens disabled: an edit turns it on.
    dialog.FindControl("Check1(0)")->Click();
    dialog.FindControl(c.button)->Click();
    EXPECT_EQ(rig.h.settings().PlayAudioCapture, c.stored);
    EXPECT_EQ(unit::StoredAs(rig.h.machine.registry,
                             "HKCU\\Software\\Larkspan\\Windlock\\Options\\Play Audio Capture"),
              std::string("sz ") + c.stored);
    EXPECT_EQ(rig.sound_closes, c.file_exists ? 0 : 1);
    // The box keeps what the user left in it.
    EXPECT_EQ(dialog.FindControl("SoundFileTextBox")->text, c.box);
  }
}

TEST(OptionsDialogTest, SliderIsStoredWithoutTurningApplyOn) {
  OptionsRig rig;
  OptionsDialog& dialog = rig.Open();
  dialog.FindControl("cmdDisplayTime")->Slide(4321);
  EXPECT_FALSE(dialog.FindControl("cmdApply")->enabled);
  dialog.FindControl("cmdOK")->Click();
  EXPECT_EQ(rig.h.settings().PopupAlertDisplayTime, 4321);
  EXPECT_FALSE(dialog.loaded());
}

TEST(OptionsDialogTest, SliderShowsStoredTimesOutsideItsRangeAtItsEnds) {
  const struct {
    int32_t stored;
    int shown;
  } cases[] = {{-5, 1}, {0, 1}, {1, 1}, {5000, 5000}, {70000, 5000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    OptionsRig rig;
    rig.h.settings().PopupAlertDisplayTime = c.stored;
    EXPECT_EQ(rig.Open().FindControl("cmdDisplayTime")->value, c.shown);
  }
}

TEST(OptionsDialogTest, EachFontChoiceStartsFromTheStoredFont) {
  OptionsRig rig;
  rig.h.settings().PopupAlertFont = Font{"Tahoma", 10, false, false, false, false};
  OptionsDialog& dialog = rig.Open();
  rig.h.machine.ui.QueueFont(Font{"Verdana", 12, true, false, false, false});
  rig.h.machine.ui.QueueFont(std::nullopt);
  dialog.FindControl("cmdFont")->Click();
  EXPECT_EQ(dialog.message_face(), "Verdana");
  dialog.FindControl("cmdFont")->Click();
  // The cancelled second dialog keeps the first choice pending.
  EXPECT_EQ(dialog.working_font().name, "Verdana");
  EXPECT_EQ(rig.h.Trace({"font dialog"}),
            (std::vector<std::string>{"font dialog from \"Tahoma\" 10 -> \"Verdana\" 12",
                                      "font dialog from \"Tahoma\" 10 -> cancel"}));
  EXPECT_EQ(rig.h.settings().PopupAlertFont.name, "Tahoma");
  dialog.FindControl("cmdApply")->Click();
  EXPECT_EQ(rig.h.settings().PopupAlertFont, (Font{"Verdana", 12, true, false, false, false}));
}

TEST(OptionsDialogTest, CtrlTabSelectsTheNextTabAndWraps) {
  const struct {
    int from;
    int to;
  } cases[] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    OptionsRig rig;
    OptionsDialog& dialog = rig.Open();
    dialog.FindControl("tbsOptions")->Select(c.from);
    dialog.CtrlTab();
    EXPECT_EQ(dialog.FindControl("tbsOptions")->value, c.to);
    for (int page = 0; page < 4; ++page) {
      Control& picture = *dialog.FindControl("picOptions(" + std::to_string(page) + ")");
      EXPECT_EQ(picture.visible, page == c.to - 1) << page;
      EXPECT_EQ(picture.enabled, page == c.to - 1) << page;
    }
  }
}

TEST(OptionsDialogTest, ClosingWithoutApplyKeepsSettingsAndRegistry) {
  for (const char* way : {"Cancel", "Escape", "close box"}) {
    SCOPED_TRACE(way);
    OptionsRig rig;
    rig.h.settings().PopupAlertMessage = "Stored";
    SaveSettings(rig.h.settings(), rig.h.machine.registry);
    OptionsDialog& dialog = rig.Open();
    dialog.FindControl("alertmessagetextbox")->Type("Edited");
    dialog.FindControl("Check1(0)")->Click();
    bool capture_when_closed = rig.h.settings().CaptureWhenClosed;
    std::string way_name = way;
    if (way_name == "Cancel") dialog.FindControl("cmdCancel")->Click();
    if (way_name == "Escape") dialog.PressEscape();
    if (way_name == "close box") dialog.CloseBox();
    EXPECT_FALSE(dialog.loaded());
    EXPECT_EQ(rig.h.settings().PopupAlertMessage, "Stored");
    EXPECT_EQ(rig.h.settings().CaptureWhenClosed, capture_when_closed);
    EXPECT_EQ(unit::StoredAs(rig.h.machine.registry,
                             "HKCU\\Software\\Larkspan\\Windlock\\Options\\Popup Alert Message"),
              "sz Stored");
  }
}

TEST(OptionsDialogTest, AFailingFillIsReportedAndEndsTheFill) {
  OptionsRig rig;
  rig.h.settings().Sites.Assign({"trust:a.example"});
  rig.files.fail_listing = true;
  rig.h.machine.files.AddFolder(rig.h.machine.files.ProgramFolder() + "\\Skins\\Blue");
  OptionsDialog& dialog = rig.Open();
  const auto& boxes = rig.h.machine.ui.message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error Initializing The Options Box\r\n0\r\n70\r\nPermission denied");
  EXPECT_EQ(boxes[0].title, "Error");
  EXPECT_EQ(boxes[0].style, kMbOk);
  // The steps before the failing one took effect; Apply is off all the same.
  EXPECT_EQ(dialog.FindControl("List1")->lines, std::vector<std::string>{"a.example"});
  EXPECT_EQ(dialog.FindControl("listSkins")->lines, std::vector<std::string>{"Original"});
  EXPECT_FALSE(dialog.FindControl("cmdApply")->enabled);
}

}  // namespace
}  // namespace windlock
