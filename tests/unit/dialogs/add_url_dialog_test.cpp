#include "dialogs/add_url_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"
#include "settings/settings_paths.h"

namespace windlock {
namespace {

namespace path = settings_path;
using unit::StoredAs;

constexpr const char* kPrompt = "addURLDialog";
const std::string kSite1 = std::string(path::kSitePrefix) + "1";

class AddUrlDialogTest : public ::testing::Test {
 protected:
  AddUrlDialogTest() {
    module().DialogURL = unit::kOpenerSite;
    module().settings.PromptToAdd = true;
    module().settings.Sites.Assign({"trust:other.example"});
  }

  ModuleData& module() { return h.apartment.module(); }
  void Show() { ShowAddUrlDialog(h.window.platform(), module()); }

  unit::BarHarness h;
};

TEST_F(AddUrlDialogTest, EachAnswerLeavesItsOwnResult) {
  struct Case {
    const char* name;
    std::function<void(Form&)> answer;
    const char* dialog_url;
    const char* added_site;  // appended to the list and stored, if any
  };
  auto click = [](const char* control) {
    return [control](Form& form) { form.FindControl(control)->Click(); };
  };
  const Case cases[] = {
      {"Trust", click("OKButton(0)"), "added", "trust:opener.example"},
      {"Enter trusts", [](Form& form) { form.PressEnter(); }, "added", "trust:opener.example"},
      {"Do Not Trust", click("OKButton(1)"), "opener.example", "notrust:opener.example"},
      {"Capture", click("CancelButton"), "opener.example", nullptr},
      {"Escape captures", [](Form& form) { form.PressEscape(); }, "opener.example", nullptr},
      {"close box captures", [](Form& form) { form.CloseBox(); }, "opener.example", nullptr},
      {"Open", click("Command1"), "added", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    h.machine.registry.Remove(kSite1);
    module().DialogURL = unit::kOpenerSite;
    module().settings.Sites.Assign({"trust:other.example"});
    h.Plan({kPrompt, c.answer});

    Show();

    EXPECT_TRUE(h.all_steps_taken());
    EXPECT_EQ(module().DialogURL, c.dialog_url);
    std::vector<std::string> sites = {"trust:other.example"};
    if (c.added_site) sites.push_back(c.added_site);
    EXPECT_EQ(module().settings.Sites.entries(), sites);
    EXPECT_EQ(StoredAs(h.machine.registry, kSite1),
              c.added_site ? std::string("sz ") + c.added_site : "missing");
  }
}

TEST_F(AddUrlDialogTest, TextTypedIntoTheBoxIsNotWhatGetsStored) {
  h.Plan({kPrompt, [](Form& form) {
            Control& box = *form.FindControl("UrlToAdd");
            EXPECT_EQ(box.text, unit::kOpenerSite);
            box.Type("evil.example");
            form.FindControl("OKButton(0)")->Click();
          }});
  Show();
  EXPECT_EQ(module().settings.Sites.entries(),
            (std::vector<std::string>{"trust:other.example", "trust:opener.example"}));
}

TEST_F(AddUrlDialogTest, ClearingAskAgainStoresItBeforeTheDialogCloses) {
  h.Plan({kPrompt, [this](Form& form) {
            Control& ask_again = *form.FindControl("Check1");
            EXPECT_TRUE(ask_again.checked());
            ask_again.Click();
            EXPECT_FALSE(module().settings.PromptToAdd);
            EXPECT_EQ(StoredAs(h.machine.registry, path::kPromptToAdd), "dword 0");
          }});
  h.Plan(unit::Click(kPrompt, "CancelButton"));
  Show();
  EXPECT_TRUE(h.all_steps_taken());
  EXPECT_FALSE(module().settings.PromptToAdd);
}

}  // namespace
}  // namespace windlock
