#include "dialogs/get_url_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../sim_harness.h"

namespace windlock {
namespace {

struct Case {
  const char* name;
  const char* typed;
  std::function<void(Form&)> finish;
  const char* dialog_url;
};

TEST(GetUrlDialogTest, LeavesTheSiteOrCancel) {
  auto click = [](const char* control) {
    return [control](Form& form) { form.FindControl(control)->Click(); };
  };
  const Case cases[] = {
      {"OK with an empty box", "", click("OKButton"), ""},
      {"OK with an address", "http://a.example/x", click("OKButton"), "a.example"},
      {"Enter with an address", "https://b.example:81/y", [](Form& f) { f.PressEnter(); },
       "b.example:81"},
      {"OK with a short text", "a/b", click("OKButton"), "a/b"},
      {"Cancel", "http://a.example/x", click("CancelButton"), "cancel"},
      {"Escape", "http://a.example/x", [](Form& f) { f.PressEscape(); }, "cancel"},
      {"close box", "http://a.example/x", [](Form& f) { f.CloseBox(); }, "cancel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unit::BarHarness h;
    ModuleData& module = h.apartment.module();
    module.DialogURL = "left over";
    h.Plan({"getURLDialog", [&c](Form& form) {
              form.FindControl("Text1")->Type(c.typed);
              c.finish(form);
            }});

    ShowGetUrlDialog(h.window.platform(), module);

    EXPECT_TRUE(h.all_steps_taken());
    EXPECT_EQ(module.DialogURL, c.dialog_url);
  }
}

}  // namespace
}  // namespace windlock
