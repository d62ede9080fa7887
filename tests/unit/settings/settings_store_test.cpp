#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../sim_harness.h"
#include "backends/sim/sim_machine.h"
#include "common/error.h"
#include "platform/ui.h"
#include "settings/settings_paths.h"

namespace windlock {
namespace {

namespace path = settings_path;
using sim::SimFileSystem;

constexpr const char* kSoundFile = "C:\\Media\\capture.wav";
constexpr const char* kLoadFailureText =
    "There Was An Error Determining The User Defined Options\r\n"
    "You May Need To Re-install The Software To Correct The Error.\r\n"
    "The Default Options Will Be Used Instead";

RegistryValue Dword(uint32_t number) {
  return {RegistryValue::Kind::kDword, {}, number};
}
RegistryValue Text(std::string text) {
  return {RegistryValue::Kind::kString, std::move(text), 0};
}
RegistryValue Binary() {
  return {RegistryValue::Kind::kOther, {}, 0};
}

std::string SitePath(int index) {
  return path::kSitePrefix + std::to_string(index);
}
std::string SkinFolder(const std::string& name) {
  return std::string(SimFileSystem::kProgramFolder) + "\\Skins\\" + name;
}

// A complete, valid store whose every value differs from the defaults: every value a load reads.
std::vector<std::pair<std::string, RegistryValue>> FullStore() {
  return {{path::kCaptureWhenClosed, Dword(0)},
          {path::kShowVisualCapture, Dword(0)},
          {path::kPlayAudioCapture, Text(kSoundFile)},
          {path::kUpdateUrl, Text("http://update.example/")},
          {path::kBrowseSkinsUrl, Text("http://skins.example/")},
          {path::kPopupAlertMessage, Text("Stopped one")},
          {path::kFontBold, Dword(1)},
          {path::kFontItalic, Dword(0)},
          {path::kFontName, Text("Arial")},
          {path::kFontSize, Dword(12)},
          {path::kFontStrikethrough, Dword(1)},
          {path::kFontUnderline, Dword(0)},
          {path::kDisplayTime, Dword(2500)},
          {path::kPromptToAdd, Dword(1)},
          {path::kSiteCount, Dword(2)},
          {SitePath(0), Text("trust:a.example")},
          {SitePath(1), Text("notrust:b.example")},
          {path::kDefaultSkin, Text("Blue")},
          {path::kAutoStart, Dword(1)},
          {path::kAutoStartVisible, Dword(0)},
          {path::kVisible, Dword(1)}};
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [value_path, value] : FullStore()) Put(value_path, value);
    machine.files.AddFile(kSoundFile, "RIFF");
    machine.files.AddFolder(SkinFolder("Blue"));
  }

  void Put(const std::string& value_path, RegistryValue value) {
    machine.registry.Put(value_path, std::move(value));
  }

  // Loads into `settings`; true when no failure message came up.
  bool LoadsCleanly() {
    std::size_t shown = machine.ui.message_boxes().size();
    LoadSettings(settings, platform);
    return machine.ui.message_boxes().size() == shown;
  }

  void ExpectDefaultsApplied() {
    EXPECT_FALSE(settings.PromptToAdd);
    EXPECT_TRUE(settings.ShowVisualCapture);
    EXPECT_TRUE(settings.CaptureWhenClosed);
    EXPECT_EQ(settings.PlayAudioCapture, "(none)");
    EXPECT_EQ(settings.PopupAlertMessage, "Pop-up Captured");
    EXPECT_EQ(settings.UpdateURL, kDefaultUpdateUrl);
    EXPECT_EQ(settings.BrowseSkinsURL, kDefaultBrowseSkinsUrl);
    EXPECT_EQ(settings.PopupAlertFont, (Font{"Space Toaster", 18, false, false, false, false}));
    EXPECT_EQ(settings.PopupAlertDisplayTime, 1000);
  }

  sim::SimMachine machine;
  Platform& platform = machine.Window(1).platform();
  Settings settings;
};

// Every field a save writes and a load reads, to compare records whole.
auto Fields(const Settings& s) {
  return std::tie(s.CaptureWhenClosed, s.ShowVisualCapture, s.PlayAudioCapture, s.UpdateURL,
                  s.BrowseSkinsURL, s.PopupAlertMessage, s.PopupAlertFont, s.PopupAlertDisplayTime,
                  s.PromptToAdd, s.Sites.entries(), s.DefaultSkin, s.AutoStart, s.AutoStartVisible,
                  s.Visible);
}

TEST_F(SettingsStoreTest, LoadPutsEachStoredValueInItsOwnField) {
  ASSERT_TRUE(LoadsCleanly());
  Settings expected;
  expected.CaptureWhenClosed = false;
  expected.ShowVisualCapture = false;
  expected.PlayAudioCapture = kSoundFile;
  expected.UpdateURL = "http://update.example/";
  expected.BrowseSkinsURL = "http://skins.example/";
  expected.PopupAlertMessage = "Stopped one";
  expected.PopupAlertFont = Font{"Arial", 12, true, false, false, true};
  expected.PopupAlertDisplayTime = 2500;
  expected.PromptToAdd = true;
  expected.Sites.Assign({"trust:a.example", "notrust:b.example"});
  expected.DefaultSkin = "Blue";
  expected.AutoStart = true;
  expected.AutoStartVisible = false;
  expected.Visible = true;
  EXPECT_EQ(Fields(settings), Fields(expected));
}

TEST_F(SettingsStoreTest, VisibleIsTrueWheneverTheBarStartsVisible) {
  struct Case {
    const char* name;
    uint32_t auto_start_visible;
    std::optional<uint32_t> visible;
    bool expected;
  };
  const Case cases[] = {
      {"starts visible, Visible missing", 1, std::nullopt, true},
      {"starts visible, Visible 0", 1, 0, true},
      {"remembered visible", 0, 1, true},
      {"remembered hidden", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(path::kAutoStartVisible, Dword(c.auto_start_visible));
    machine.registry.Remove(path::kVisible);
    if (c.visible) Put(path::kVisible, Dword(*c.visible));
    EXPECT_TRUE(LoadsCleanly());
    EXPECT_EQ(settings.Visible, c.expected);
  }
}

TEST_F(SettingsStoreTest, StoredValuesConvertOrFailTheLoad) {
  struct Case {
    const char* name;
    std::string value_path;
    RegistryValue stored;
    bool loads;
    std::function<bool(const Settings&)> holds;
  };
  auto show_visual = [](bool expected) {
    return [expected](const Settings& s) { return s.ShowVisualCapture == expected; };
  };
  auto display_time = [](int32_t expected) {
    return [expected](const Settings& s) { return s.PopupAlertDisplayTime == expected; };
  };
  // The font dialog's range; outside it the load fails and the default size stays.
  auto font_size = [](float expected) {
    return [expected](const Settings& s) { return s.PopupAlertFont.size == expected; };
  };
  const Case cases[] = {
      {"flag 1", path::kShowVisualCapture, Dword(1), true, show_visual(true)},
      {"flag 0", path::kShowVisualCapture, Dword(0), true, show_visual(false)},
      {"flag 2 is not set", path::kShowVisualCapture, Dword(2), true, show_visual(false)},
      {"flag -1 is not set", path::kShowVisualCapture, Dword(0xFFFFFFFF), true, show_visual(false)},
      {"flag as text 1", path::kShowVisualCapture, Text("1"), true, show_visual(true)},
      {"flag as text 2", path::kShowVisualCapture, Text("2"), true, show_visual(false)},
      {"number as text", path::kDisplayTime, Text("2400"), true, display_time(2400)},
      {"negative number as text", path::kDisplayTime, Text("-3"), true, display_time(-3)},
      {"count as text", path::kSiteCount, Text("1"), true,
       [](const Settings& s) { return s.SiteCount() == 1; }},
      {"text stored as a number", path::kPopupAlertMessage, Dword(42), true,
       [](const Settings& s) { return s.PopupAlertMessage == "42"; }},
      {"text stored as a negative number", path::kFontName, Dword(0xFFFFFFFF), true,
       [](const Settings& s) { return s.PopupAlertFont.name == "-1"; }},
      {"flag as a word", path::kShowVisualCapture, Text("yes"), false, show_visual(true)},
      {"number with trailing text", path::kDisplayTime, Text("25s"), false, nullptr},
      {"empty text for a number", path::kFontSize, Text(""), false, nullptr},
      {"binary flag", path::kAutoStart, Binary(), false, nullptr},
      {"binary text", path::kPopupAlertMessage, Binary(), false, nullptr},
      {"binary site", SitePath(1), Binary(), false, nullptr},
      {"display time capped at five seconds", path::kDisplayTime, Dword(7000), true,
       display_time(5000)},
      {"one past the cap", path::kDisplayTime, Dword(5001), true, display_time(5000)},
      {"the cap", path::kDisplayTime, Dword(5000), true, display_time(5000)},
      {"below the cap", path::kDisplayTime, Dword(4999), true, display_time(4999)},
      {"no display time", path::kDisplayTime, Dword(0), true, display_time(0)},
      {"negative display time", path::kDisplayTime, Dword(0xFFFFFFF6), true, display_time(-10)},
      {"font size 0", path::kFontSize, Dword(0), false, font_size(18)},
      {"font size 1", path::kFontSize, Dword(1), true, font_size(1)},
      {"font size 1638", path::kFontSize, Dword(1638), true, font_size(1638)},
      {"font size 1639", path::kFontSize, Dword(1639), false, font_size(18)},
      {"font size -1", path::kFontSize, Dword(0xFFFFFFFF), false, font_size(18)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    settings = Settings{};
    Put(c.value_path, c.stored);
    EXPECT_EQ(LoadsCleanly(), c.loads);
    if (c.holds) {
      EXPECT_TRUE(c.holds(settings));
    }
  }
}

TEST_F(SettingsStoreTest, EveryValueReadIsRequiredAndOneMissingIsReportedOnce) {
  for (const auto& [missing, value] : FullStore()) {
    SCOPED_TRACE(missing);
    SetUp();
    settings = Settings{};
    machine.registry.Remove(missing);
    const std::size_t shown = machine.ui.message_boxes().size();
    LoadSettings(settings, platform);
    ASSERT_EQ(machine.ui.message_boxes().size(), shown + 1);
    const sim::ShownMessageBox& box = machine.ui.message_boxes().back();
    EXPECT_EQ(box.text, kLoadFailureText);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style, kMbIconCritical);
    ExpectDefaultsApplied();
    // The sites are the user's, not options with a default: every one that can be read stays.
    std::vector<std::string> kept;
    if (missing != SitePath(0)) kept.push_back("trust:a.example");
    if (missing != SitePath(1)) kept.push_back("notrust:b.example");
    EXPECT_EQ(settings.Sites.entries(), kept);
  }
}

TEST_F(SettingsStoreTest, FailedLoadKeepsStartUpChoices) {
  settings.AutoStart = true;
  settings.AutoStartVisible = true;
  settings.Visible = true;
  settings.DefaultSkin = "Green";
  settings.PromptToAdd = true;
  Put(path::kCaptureWhenClosed, Binary());

  EXPECT_FALSE(LoadsCleanly());

  ExpectDefaultsApplied();
  EXPECT_TRUE(settings.AutoStart);
  EXPECT_TRUE(settings.AutoStartVisible);
  EXPECT_TRUE(settings.Visible);
  EXPECT_EQ(settings.DefaultSkin, "Green");

  // A skin never chosen is the one that always exists.
  settings.DefaultSkin.clear();
  LoadSettings(settings, platform);
  EXPECT_EQ(settings.DefaultSkin, "Original");
}

TEST_F(SettingsStoreTest, SaveAfterAFailedLoadKeepsEveryReadableStoredSite) {
  const struct {
    const char* name;
    std::string spoiled;
    RegistryValue value;
    std::vector<std::string> kept;
  } cases[] = {
      {"font size 0", path::kFontSize, Dword(0), {"trust:a.example", "notrust:b.example"}},
      {"count unreadable", path::kSiteCount, Binary(), {"trust:a.example", "notrust:b.example"}},
      {"a site unreadable", SitePath(0), Binary(), {"notrust:b.example"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Put(c.spoiled, c.value);
    settings = Settings{};
    EXPECT_FALSE(LoadsCleanly());
    EXPECT_EQ(settings.Sites.entries(), c.kept);

    SaveSettings(settings, machine.registry);

    settings = Settings{};
    Put(path::kFontSize, Dword(12));
    ASSERT_TRUE(LoadsCleanly());
    EXPECT_EQ(settings.Sites.entries(), c.kept);
  }
}

TEST_F(SettingsStoreTest, SiteValuesBeyondTheCountAreNeverRead) {
  // A value that cannot be read fails the load if it is touched at all.
  Put(path::kSiteCount, Dword(0));
  Put(SitePath(0), Binary());
  EXPECT_TRUE(LoadsCleanly());
  EXPECT_EQ(settings.SiteCount(), 0);

  Put(path::kSiteCount, Dword(1));
  Put(SitePath(0), Text("trust:a.example"));
  Put(SitePath(1), Binary());
  EXPECT_TRUE(LoadsCleanly());
  EXPECT_EQ(settings.Sites.entries(), std::vector<std::string>{"trust:a.example"});
}

TEST_F(SettingsStoreTest, HugeSiteCountFailsAtTheFirstMissingValue) {
  Put(path::kSiteCount, Dword(2147483647));
  Put(SitePath(2), Text("trust:c.example"));

  LoadSettings(settings, platform);

  EXPECT_EQ(machine.ui.message_boxes().size(), 1u);
  ExpectDefaultsApplied();
  EXPECT_EQ(settings.SiteCount(), 3);
}

// A sound must be an existing file and a skin a folder directly inside Skins; else the default.
TEST_F(SettingsStoreTest, StoredSoundAndSkinMustExist) {
  struct Case {
    const char* name;
    std::string value_path;
    const char* stored;
    const char* expected;
    const char* folder = nullptr;  // made under Skins first, if any
  };
  const std::string sound = path::kPlayAudioCapture;
  const std::string skin = path::kDefaultSkin;
  const Case cases[] = {
      {"no sound", sound, "(none)", "(none)"},
      {"existing file", sound, kSoundFile, kSoundFile},
      {"file named in other letter case", sound, "c:\\MEDIA\\Capture.WAV",
       "c:\\MEDIA\\Capture.WAV"},
      {"missing file", sound, "C:\\Media\\gone.wav", "(none)"},
      {"a folder for a sound", sound, "C:\\Media", "(none)"},
      {"empty sound", sound, "", "(none)"},
      {"existing folder", skin, "Blue", "Blue"},
      {"folder in other letter case", skin, "BLUE", "BLUE"},
      {"no such folder", skin, "Red", "Original"},
      {"a file, not a folder", skin, "readme.txt", "Original"},
      {"empty skin", skin, "", "Original"},
      {"backslash, though the folder exists", skin, "Blue\\Dark", "Original", "Blue\\Dark"},
      {"slash, though the folder exists", skin, "Blue/Dark", "Original", "Blue/Dark"},
      {"parent folder", skin, "..", "Original", ".."},
      {"dots inside a name", skin, "a..b", "Original", "a..b"},
  };
  machine.files.AddFile(SkinFolder("readme.txt"), "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.folder) machine.files.AddFolder(SkinFolder(c.folder));
    Put(c.value_path, Text(c.stored));
    ASSERT_TRUE(LoadsCleanly());
    EXPECT_EQ(c.value_path == sound ? settings.PlayAudioCapture : settings.DefaultSkin, c.expected);
  }
}

TEST_F(SettingsStoreTest, SaveThenLoadGivesTheSameRecordWhateverItHolds) {
  Settings saved;
  saved.CaptureWhenClosed = false;
  saved.ShowVisualCapture = true;
  saved.PlayAudioCapture = kSoundFile;
  saved.UpdateURL = "http://update.example/?a=1&b=2";
  saved.BrowseSkinsURL = "";
  saved.PopupAlertMessage = "Stopped\r\nthis one — «ça»  " + std::string(1 << 20, 'x');
  saved.PopupAlertFont = Font{"Ünïcode Sans", 1638, false, true, true, false};
  saved.PopupAlertDisplayTime = -250;
  saved.PromptToAdd = true;
  std::vector<std::string> sites = {"trust:a.example", "", "trust:a.example", "notrust:HTTP:"};
  for (int i = 0; i < 100000; ++i) sites.push_back("trust:site" + std::to_string(i) + ".example");
  saved.Sites.Assign(sites);
  saved.DefaultSkin = "Blue";
  saved.AutoStart = false;
  saved.AutoStartVisible = false;
  saved.Visible = true;

  SaveSettings(saved, machine.registry);
  ASSERT_TRUE(LoadsCleanly());
  EXPECT_EQ(Fields(settings), Fields(saved));
  EXPECT_TRUE(settings.Sites.Contains("trust:site99999.example"));
}

TEST_F(SettingsStoreTest, SaveWritesEachFlagAsADwordToItsOwnValue) {
  struct Case {
    const char* value_path;
    void (*set)(Settings&);
  };
  const Case cases[] = {
      {path::kCaptureWhenClosed, [](Settings& s) { s.CaptureWhenClosed = true; }},
      {path::kShowVisualCapture, [](Settings& s) { s.ShowVisualCapture = true; }},
      {path::kPromptToAdd, [](Settings& s) { s.PromptToAdd = true; }},
      {path::kFontBold, [](Settings& s) { s.PopupAlertFont.bold = true; }},
      {path::kFontItalic, [](Settings& s) { s.PopupAlertFont.italic = true; }},
      {path::kFontStrikethrough, [](Settings& s) { s.PopupAlertFont.strikethrough = true; }},
      {path::kFontUnderline, [](Settings& s) { s.PopupAlertFont.underline = true; }},
      {path::kAutoStart, [](Settings& s) { s.AutoStart = true; }},
      {path::kAutoStartVisible, [](Settings& s) { s.AutoStartVisible = true; }},
      {path::kVisible, [](Settings& s) { s.Visible = true; }},
  };
  for (const Case& set : cases) {
    SCOPED_TRACE(set.value_path);
    Settings saved;
    set.set(saved);
    SaveSettings(saved, machine.registry);
    for (const Case& check : cases) {
      EXPECT_EQ(machine.registry.Describe(check.value_path),
                check.value_path == set.value_path ? "dword 1" : "dword 0")
          << check.value_path;
    }
  }
}

TEST_F(SettingsStoreTest, SaveRoundsTheFontSize) {
  const std::pair<float, const char*> cases[] = {{12.4f, "dword 12"}, {12.6f, "dword 13"}};
  for (const auto& [size, expected] : cases) {
    SCOPED_TRACE(size);
    Settings saved;
    saved.PopupAlertFont.size = size;
    SaveSettings(saved, machine.registry);
    EXPECT_EQ(machine.registry.Describe(path::kFontSize), expected);
  }
}

class SiteListSaveTest : public SettingsStoreTest {
 protected:
  void SetUp() override {
    SettingsStoreTest::SetUp();
    // Registry changes to the site list and the skin, in the order they were made.
    machine.trace.SetSink([this](const std::string& line) {
      if (line.find("Trusted Sites") != std::string::npos ||
          line.find("DefaultSkin") != std::string::npos) {
        changes.push_back(line);
      }
    });
    saved = unit::InstalledSettings();
    saved.DefaultSkin = "Blue";
    saved.Sites.Assign({"trust:x.example", "notrust:y.example", "trust:z.example"});
  }
  void TearDown() override { machine.trace.SetSink(nullptr); }

  std::vector<std::string> changes;
  Settings saved;
};

TEST_F(SiteListSaveTest, OldListIsDeletedInNumberOrderBeforeTheNewIsWritten) {
  struct Case {
    const char* name;
    std::optional<uint32_t> count;  // none: never stored
    std::vector<int> present;
  };
  // Twelve old values: "site10" sorts before "site2" by name, but they go in number order.
  const Case cases[] = {
      {"fresh install", std::nullopt, {}},
      {"a longer list", 5, {0, 1, 2, 3, 4}},
      {"twelve values", 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {"a value missing from the old list", 5, {0, 1, 3, 4}},
      {"huge stored count", 2147483647, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    machine.registry.Remove(path::kSiteCount);
    for (int i = 0; i < 12; ++i) machine.registry.Remove(SitePath(i));
    if (c.count) Put(path::kSiteCount, Dword(*c.count));
    for (int i : c.present) Put(SitePath(i), Text("old" + std::to_string(i)));
    changes.clear();

    ASSERT_NO_THROW(SaveSettings(saved, machine.registry));

    // What is written is the round trip test's; here, the order.
    std::vector<std::string> expected;
    for (int i : c.present) expected.push_back("reg delete " + sim::Quote(SitePath(i)));
    for (const std::string& value_path : {std::string(path::kSiteCount), SitePath(0), SitePath(1),
                                          SitePath(2), std::string(path::kDefaultSkin)}) {
      expected.push_back("reg write " + sim::Quote(value_path) + " " +
                         machine.registry.Describe(value_path));
    }
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(machine.registry.Describe(SitePath(3)), "missing");
  }
}

TEST_F(SiteListSaveTest, FailingWriteEndsTheSave) {
  struct Case {
    const char* read_only_key;
    const char* written_before;  // value that reaches the store before the failure, if any
  };
  const std::string options = std::string(path::kRoot) + "\\Options";
  const Case cases[] = {{options.c_str(), nullptr}, {path::kSitesKey, path::kVisible}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.read_only_key);
    sim::SimMachine fresh;
    fresh.registry.MakeReadOnly(c.read_only_key);
    saved.Visible = true;
    EXPECT_THROW(SaveSettings(saved, fresh.registry), Error);
    if (c.written_before) {
      EXPECT_EQ(fresh.registry.Describe(c.written_before), "dword 1");
    }
    EXPECT_EQ(fresh.registry.Describe(path::kDefaultSkin), "missing");
  }
}

}  // namespace
}  // namespace windlock
