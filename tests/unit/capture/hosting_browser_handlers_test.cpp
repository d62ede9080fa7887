#include "capture/hosting_browser_handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"

namespace windlock {
namespace {

using sim::NewWindowDecision;
using unit::BarHarness;

constexpr const char* kAlert = "frmSplashCapture";
constexpr const char* kSoundFile = "C:\\Media\\capture.wav";

struct DecisionCase {
  const char* name = "";
  bool bar_showing = true;
  bool capture_when_closed = true;
  bool prompt_to_add = false;
  bool show_visual = true;
  bool shift = false;
  bool safe_shutdown = false;
  const char* opener = unit::kOpenerPage;
  std::vector<std::string> sites = {};
  NewWindowDecision expected = NewWindowDecision::kCaptured;
  std::vector<std::string> forms = {};  // modal forms the user sees, in order
};

const DecisionCase kDecisionCases[] = {
    {.name = "bar hidden, capture when closed off, site distrusted",
     .bar_showing = false,
     .capture_when_closed = false,
     .prompt_to_add = true,
     .sites = {"notrust:opener.example"},
     .expected = NewWindowDecision::kAllowed},
    {.name = "bar hidden, capture when closed on", .bar_showing = false, .forms = {kAlert}},
    {.name = "shift held", .shift = true, .expected = NewWindowDecision::kAllowed},
    {.name = "shift held during safe shutdown",
     .shift = true,
     .safe_shutdown = true,
     .expected = NewWindowDecision::kAllowed},
    {.name = "trusted site",
     .sites = {"trust:opener.example"},
     .expected = NewWindowDecision::kAllowed},
    {.name = "trusted and distrusted site",
     .prompt_to_add = true,
     .sites = {"notrust:opener.example", "trust:opener.example"},
     .expected = NewWindowDecision::kAllowed},
    {.name = "trust entries must match the site exactly",
     .sites = {"trust:Opener.example", "trust:opener.example/", "trust:http://opener.example",
               "trust: opener.example"},
     .forms = {kAlert}},
    {.name = "upper-case scheme gives the site HTTP:",
     .opener = "HTTP://opener.example/",
     .sites = {"trust:HTTP:"},
     .expected = NewWindowDecision::kAllowed},
    {.name = "safe shutdown blocks a trusted site and alerts even when alerts are off",
     .show_visual = false,
     .safe_shutdown = true,
     .sites = {"trust:opener.example"},
     .expected = NewWindowDecision::kBlocked,
     .forms = {kAlert}},
    {.name = "safe shutdown does not prompt",
     .prompt_to_add = true,
     .safe_shutdown = true,
     .expected = NewWindowDecision::kBlocked,
     .forms = {kAlert}},
    {.name = "no prompt, alert on", .forms = {kAlert}},
    {.name = "no prompt, alert off", .show_visual = false},
    {.name = "prompt, site distrusted, alert on",
     .prompt_to_add = true,
     .sites = {"notrust:opener.example"},
     .forms = {kAlert}},
    {.name = "prompt, site distrusted, alert off",
     .prompt_to_add = true,
     .show_visual = false,
     .sites = {"notrust:opener.example"}},
};

TEST(HostingBrowserHandlersTest, NewWindowDecision) {
  for (const DecisionCase& c : kDecisionCases) {
    SCOPED_TRACE(c.name);
    BarHarness h;
    Settings& settings = h.settings();
    settings.CaptureWhenClosed = c.capture_when_closed;
    settings.PromptToAdd = c.prompt_to_add;
    settings.ShowVisualCapture = c.show_visual;
    settings.Sites.Assign(c.sites);
    h.SetBarShowing(c.bar_showing);
    h.machine.keyboard.SetShift(c.shift);
    h.bar.flags().SafeShutdownRequested = c.safe_shutdown;
    h.window.hosting().ShowPage(c.opener);
    for (const std::string& form : c.forms) {
      h.Plan(unit::PressKey(form));
    }

    EXPECT_EQ(h.OpenPopup(), c.expected);

    EXPECT_EQ(h.forms_shown(), c.forms);
    EXPECT_TRUE(h.all_steps_taken());
    EXPECT_EQ(settings.Sites.entries(), c.sites);
    const bool captured = c.expected == NewWindowDecision::kCaptured;
    // A captured window's first navigation in the preview has already made it an entry.
    EXPECT_FALSE(h.bar.flags().CapturePending);
    EXPECT_EQ(h.bar.captured().CapturedCount(), captured ? 1u : 0u);
    EXPECT_EQ(h.preview().LocationURL() == unit::kPopupUrl, captured);
    EXPECT_TRUE(h.machine.ui.message_boxes().empty());
  }
}

TEST(HostingBrowserHandlersTest, SkinAndSoundAreToldBeforeTheAlert) {
  BarHarness h;
  h.ShowSkinPage("<script>function OnCapture() {}</script>");
  h.machine.files.AddFile(kSoundFile, "RIFF");
  h.settings().PlayAudioCapture = kSoundFile;
  h.Plan(unit::PressKey(kAlert));

  EXPECT_EQ(h.OpenPopup(), NewWindowDecision::kCaptured);

  const std::vector<std::string> expected = {"page-call skin OnCapture()",
                                             std::string("sound Open:") + kSoundFile,
                                             "sound Prev",
                                             "sound Play",
                                             "form frmSplashCapture shown",
                                             "form frmSplashCapture closed"};
  EXPECT_EQ(h.Trace({"page-call skin", "sound", "form"}), expected);
}

}  // namespace
}  // namespace windlock
