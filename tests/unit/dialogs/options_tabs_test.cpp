#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"
#include "dialogs/options_dialog.h"
#include "options_rig.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

using Lines = std::vector<std::string>;
using unit::OptionsRig;

void EnterSite(OptionsRig& rig, OptionsDialog& dialog, const std::string& button,
               const std::string& typed, bool ok = true) {
  rig.h.Plan({"getURLDialog", [typed, ok](Form& form) {
                form.FindControl("Text1")->Type(typed);
                form.FindControl(ok ? "OKButton" : "CancelButton")->Click();
              }});
  dialog.FindControl(button)->Click();
  EXPECT_TRUE(rig.h.all_steps_taken());
}

TEST(OptionsSiteTabsTest, AddUrlAppendsTheRootDomainOfLongerEntries) {
  struct Case {
    const char* name;
    const char* button;
    const char* typed;
    bool ok;
    Lines sites;
  };
  const Case cases[] = {
      {"trusted address with a path",
       "Command1(0)",
       "http://www.news.example/a/b.html",
       true,
       {"legacy", "trust:a.example", "trust:www.news.example"}},
      {"untrusted address",
       "Command2(0)",
       "https://ads.example/x",
       true,
       {"legacy", "trust:a.example", "notrust:ads.example"}},
      {"three characters", "Command1(0)", "a.b", true, {"legacy", "trust:a.example"}},
      {"four characters", "Command1(0)", "ab.c", true, {"legacy", "trust:a.example", "trust:ab.c"}},
      {"cancelled", "Command1(0)", "b.example", false, {"legacy", "trust:a.example"}},
      {"already trusted",
       "Command1(0)",
       "a.example",
       true,
       {"legacy", "trust:a.example", "trust:a.example"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    rig.h.settings().Sites.Assign({"legacy", "trust:a.example"});
    OptionsDialog& dialog = rig.Open();
    EnterSite(rig, dialog, c.button, c.typed, c.ok);
    EXPECT_EQ(rig.h.settings().Sites.entries(), c.sites);
    Lines trusted;
    Lines untrusted;
    for (const std::string& entry : c.sites) {
      if (entry.starts_with("trust:")) trusted.push_back(entry.substr(6));
      if (entry.starts_with("notrust:")) untrusted.push_back(entry.substr(8));
    }
    EXPECT_EQ(dialog.FindControl("List1")->lines, trusted);
    EXPECT_EQ(dialog.FindControl("UntrustedListBox")->lines, untrusted);
    // Nothing added: nothing saved.
    EXPECT_EQ(unit::StoredAs(rig.h.machine.registry,
                             "HKCU\\Software\\Larkspan\\Windlock\\Trusted Sites\\"),
              c.sites.size() == 2 ? "missing" : "dword " + std::to_string(c.sites.size()));
  }
}

TEST(OptionsSiteTabsTest, RemoveUrlDropsEveryEntryOfTheSelectedSiteOnThatTabOnly) {
  struct Case {
    const char* name;
    const char* list;
    int selected;
    Lines sites;
  };
  const Lines stored = {"trust:x.example", "bare x.example",  "notrust:x.example",
                        "TRUST:x.example", "trust:x.example", "trust:y.example"};
  const Case cases[] = {
      {"trusted duplicates",
       "List1",
       0,
       {"bare x.example", "notrust:x.example", "TRUST:x.example", "trust:y.example"}},
      {"untrusted",
       "UntrustedListBox",
       0,
       {"trust:x.example", "bare x.example", "TRUST:x.example", "trust:x.example",
        "trust:y.example"}},
      {"nothing selected", "List1", -1, stored},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    rig.h.settings().Sites.Assign(stored);
    OptionsDialog& dialog = rig.Open();
    std::string button = std::string(c.list) == "List1" ? "Command1(1)" : "Command2(1)";
    if (c.selected >= 0) dialog.FindControl(c.list)->Select(c.selected);
    dialog.FindControl(button)->Click();
    EXPECT_EQ(rig.h.settings().Sites.entries(), c.sites);
    EXPECT_EQ(unit::StoredAs(rig.h.machine.registry,
                             "HKCU\\Software\\Larkspan\\Windlock\\Trusted Sites\\"),
              "dword " + std::to_string(c.sites.size()));
  }
}

TEST(OptionsSiteTabsTest, ASiteChangePutsTheStoredGeneralValuesBack) {
  OptionsRig rig;
  rig.h.settings().PopupAlertMessage = "Stored";
  OptionsDialog& dialog = rig.Open();
  dialog.FindControl("alertmessagetextbox")->Type("Unapplied");
  dialog.FindControl("Command1(1)")->Click();
  EXPECT_EQ(dialog.FindControl("alertmessagetextbox")->text, "Stored");
  // The changed flag keeps its state.
  EXPECT_TRUE(dialog.FindControl("cmdApply")->enabled);
}

TEST(OptionsSiteTabsTest, UnusualSitesAreStoredAsEnteredAndHarmNothing) {
  const std::string long_site(3000, 'w');
  struct Case {
    const char* name;
    const char* button;
    std::string typed;
    std::string entry;
    std::string line;
  };
  const Case cases[] = {
      {"prefix inside an untrusted site", "Command2(0)", "trust:evil.example",
       "notrust:trust:evil.example", "trust:evil.example"},
      {"prefix inside a trusted site", "Command1(0)", "notrust:a.example",
       "trust:notrust:a.example", "notrust:a.example"},
      {"control characters", "Command1(0)", "a\tb\x01\r\nc.example", "trust:a\tb\x01\r\nc.example",
       "a\tb\x01\r\nc.example"},
      {"over 2048 characters", "Command1(0)", "http://" + long_site + "/path", "trust:" + long_site,
       long_site},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    rig.h.settings().Sites.Assign({"trust:a.example"});
    rig.h.settings().ShowVisualCapture = false;
    OptionsDialog& dialog = rig.Open();
    EnterSite(rig, dialog, c.button, c.typed);
    ASSERT_EQ(rig.h.settings().Sites.size(), 2u);
    EXPECT_EQ(rig.h.settings().Sites[1], c.entry);
    const char* list = std::string(c.button) == "Command1(0)" ? "List1" : "UntrustedListBox";
    EXPECT_EQ(dialog.FindControl(list)->lines.back(), c.line);
    // A fresh load reads back exactly what was stored, without a message.
    Settings loaded;
    LoadSettings(loaded, rig.h.window.platform());
    EXPECT_EQ(loaded.Sites.entries(), rig.h.settings().Sites.entries());
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
    // The decision for a page of no listed site is not disturbed.
    rig.h.SetBarShowing(true);
    EXPECT_EQ(rig.h.OpenPopup(), sim::NewWindowDecision::kCaptured);
    // Removing the line takes exactly the entry that was added.
    Control& box = *dialog.FindControl(list);
    box.Select(static_cast<int>(box.lines.size()) - 1);
    dialog.FindControl(std::string(list) == "List1" ? "Command1(1)" : "Command2(1)")->Click();
    EXPECT_EQ(rig.h.settings().Sites.entries(), Lines{"trust:a.example"});
  }
}

TEST(OptionsSkinsTabTest, ListsOriginalThenTheFoldersAndAppliesByPosition) {
  OptionsRig rig;
  sim::SimFileSystem& files = rig.h.machine.files;
  {
    OptionsDialog& dialog = rig.Open();
    EXPECT_TRUE(dialog.FindControl("listSkins")->lines.empty());
    dialog.FindControl("btnskn(0)")->Click();
    dialog.FindControl("btnskn(1)")->Click();
    EXPECT_TRUE(rig.skins_applied.empty());
    EXPECT_TRUE(rig.h.machine.ui.message_boxes().empty());
  }
  files.AddFolder(files.ProgramFolder() + "\\Skins\\Green");
  files.AddFolder(files.ProgramFolder() + "\\Skins\\Blue");
  OptionsDialog& dialog = rig.Open();
  Control& list = *dialog.FindControl("listSkins");
  EXPECT_EQ(list.lines, (Lines{"Original", "Blue", "Green"}));
  dialog.FindControl("btnskn(0)")->Click();
  EXPECT_TRUE(rig.skins_applied.empty());
  list.Select(2);
  dialog.FindControl("btnskn(0)")->Click();
  list.Select(0);
  dialog.FindControl("btnskn(0)")->Click();
  EXPECT_EQ(rig.skins_applied, (std::vector<int32_t>{12, 10}));
  EXPECT_TRUE(dialog.loaded());
}

TEST(OptionsSkinsTabTest, UninstallAsksRemovesAndRebuildsTheList) {
  struct Case {
    const char* name;
    int selected;
    bool yes;
    const char* in_use;
    Lines lines;
    std::vector<int32_t> applied;
    const char* title;
  };
  const Case cases[] = {
      {"the built-in skin",
       0,
       true,
       "Original",
       {"Original", "Blue", "Green", "Red"},
       {},
       "Larkspan"},
      {"answered no", 2, false, "Original", {"Original", "Blue", "Green", "Red"}, {}, "Continue?"},
      {"a skin not in use", 2, true, "Blue", {"Original", "Blue", "Red"}, {}, "Continue?"},
      {"the skin in use", 2, true, "green", {"Original", "Blue", "Red"}, {10}, "Continue?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionsRig rig;
    sim::SimFileSystem& files = rig.h.machine.files;
    const std::string skins = files.ProgramFolder() + "\\Skins\\";
    for (const char* name : {"Blue", "Green", "Red"}) files.AddFolder(skins + name);
    files.AddFile(skins + "Green\\locked.gif", "");
    files.MakeReadOnly(skins + "Green\\locked.gif");
    rig.h.settings().DefaultSkin = c.in_use;
    rig.h.machine.ui.QueueYesNo(c.yes);
    OptionsDialog& dialog = rig.Open();
    dialog.FindControl("listSkins")->Select(c.selected);
    dialog.FindControl("btnskn(1)")->Click();
    const auto& boxes = rig.h.machine.ui.message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, c.title);
    EXPECT_EQ(dialog.FindControl("listSkins")->lines, c.lines);
    EXPECT_EQ(files.FolderExists(skins + "Green"), c.lines.size() == 4);
    EXPECT_EQ(rig.skins_applied, c.applied);
  }
}

TEST(OptionsSkinsTabTest, BrowseAsksTheBarAndClosesWithoutApplying) {
  OptionsRig rig;
  OptionsDialog& dialog = rig.Open();
  dialog.FindControl("alertmessagetextbox")->Type("Unapplied");
  dialog.FindControl("btnskn(2)")->Click();
  EXPECT_EQ(rig.skin_browses, 1);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_NE(rig.h.settings().PopupAlertMessage, "Unapplied");
}

}  // namespace
}  // namespace windlock
