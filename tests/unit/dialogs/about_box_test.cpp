#include "dialogs/about_box.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../sim_harness.h"

namespace windlock {
namespace {

struct Case {
  const char* name;
  std::function<void(Form&)> act;
};

TEST(AboutBoxTest, OkEnterAndEscapeClose) {
  const Case cases[] = {
      {"OK", [](Form& f) { f.FindControl("cmdOK")->Click(); }},
      {"Enter", [](Form& f) { f.PressEnter(); }},
      {"Escape", [](Form& f) { f.PressEscape(); }},
      {"close box", [](Form& f) { f.CloseBox(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unit::BarHarness h;
    h.Plan({"frmAbout", c.act});

    ShowAboutBox(h.window.platform());

    EXPECT_TRUE(h.all_steps_taken());
    EXPECT_EQ(h.forms_shown(), std::vector<std::string>{"frmAbout"});
  }
}

TEST(AboutBoxTest, SystemInfoLeavesTheBoxOpen) {
  unit::BarHarness h;
  bool open_after = false;
  h.Plan({"frmAbout", [](Form& f) { f.FindControl("cmdSysInfo")->Click(); }});
  h.Plan({"frmAbout", [&open_after](Form& f) {
            open_after = f.loaded();
            f.PressEscape();
          }});

  ShowAboutBox(h.window.platform());

  EXPECT_TRUE(open_after);
  EXPECT_TRUE(h.all_steps_taken());
  ASSERT_EQ(h.machine.ui.message_boxes().size(), 1u);
  EXPECT_EQ(h.machine.ui.message_boxes()[0].text, "System Information Is Unavailable At This Time");
}

TEST(AboutBoxTest, ShowsTheProgramVersion) {
  unit::BarHarness h;
  AboutBox box(h.window.platform());
  EXPECT_EQ(box.caption, "Larkspan Pop-Up Window Stopper");
  EXPECT_EQ(box.FindControl("lblVersion")->caption, "Version 1.0.0");
  EXPECT_EQ(box.FindControl("cmdSysInfo")->caption, "&System Info...");
  EXPECT_EQ(box.FindControl("cmdOK")->caption, "OK");
}

}  // namespace
}  // namespace windlock
