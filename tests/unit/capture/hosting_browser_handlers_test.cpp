#include "capture/hosting_browser_handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../sim_harness.h"

namespace windlock {
namespace {

constexpr const char* kAlert = "frmSplashCapture";
constexpr const char* kSoundFile = "C:\\Media\\capture.wav";

using enum NewWindowDecision;

// What differs from a showing bar whose user kept the installed choices (capture when closed,
// alert on, no prompt), with no key held and no safe shutdown running.
enum Given : unsigned {
  kAsInstalled = 0,
  kBarHidden = 1 << 0,
  kCaptureWhenClosedOff = 1 << 1,
  kPromptToAdd = 1 << 2,
  kAlertOff = 1 << 3,
  kShiftHeld = 1 << 4,
  kSafeShutdown = 1 << 5,
};

using Sites = std::vector<std::string>;
const Sites kNoSites;
const Sites kTrusted = {"trust:opener.example"};
const Sites kDistrusted = {"notrust:opener.example"};
const Sites kDistrustedAndTrusted = {"notrust:opener.example", "trust:opener.example"};
const Sites kNearMisses = {"trust:Opener.example", "trust:opener.example/",
                           "trust:http://opener.example", "trust: opener.example"};
const Sites kTrustedHttp = {"trust:HTTP:"};

struct DecisionCase {
  const char* name;
  unsigned given;
  const Sites& sites;
  NewWindowDecision expected;
  bool alert;              // the alert comes up: the only modal form the user sees
  bool announced = false;  // instead, a screen reader is told of the capture
  const char* opener = unit::kOpenerPage;
};

const DecisionCase kDecisionCases[] = {
    {"bar hidden, capture when closed off, site distrusted",
     kBarHidden | kCaptureWhenClosedOff | kPromptToAdd, kDistrusted, kAllowed, false},
    {"bar hidden, capture when closed on", kBarHidden, kNoSites, kCaptured, true},
    {"shift held", kShiftHeld, kNoSites, kAllowed, false},
    {"shift held in safe shutdown", kShiftHeld | kSafeShutdown, kNoSites, kAllowed, false},
    {"trusted site", kAsInstalled, kTrusted, kAllowed, false},
    {"trusted and distrusted site", kPromptToAdd, kDistrustedAndTrusted, kAllowed, false},
    {"trust entries must match the site exactly", kAsInstalled, kNearMisses, kCaptured, true},
    {"upper-case scheme gives the site HTTP:", kAsInstalled, kTrustedHttp, kAllowed, false, false,
     "HTTP://opener.example/"},
    {"safe shutdown blocks a trusted site and alerts even when alerts are off",
     kAlertOff | kSafeShutdown, kTrusted, kBlocked, true},
    {"safe shutdown does not prompt", kPromptToAdd | kSafeShutdown, kNoSites, kBlocked, true},
    {"no prompt, alert on", kAsInstalled, kNoSites, kCaptured, true},
    {"no prompt, alert off", kAlertOff, kNoSites, kCaptured, false, true},
    {"prompt, site distrusted, alert on", kPromptToAdd, kDistrusted, kCaptured, true},
    {"prompt, site distrusted, alert off", kPromptToAdd | kAlertOff, kDistrusted, kCaptured, false,
     true},
};

TEST(HostingBrowserHandlersTest, NewWindowDecision) {
  for (const DecisionCase& c : kDecisionCases) {
    SCOPED_TRACE(c.name);
    BarHarness h;
    Settings& settings = h.settings();
    settings.CaptureWhenClosed = !(c.given & kCaptureWhenClosedOff);
    settings.PromptToAdd = c.given & kPromptToAdd;
    settings.ShowVisualCapture = !(c.given & kAlertOff);
    settings.Sites.Assign(c.sites);
    h.SetBarShowing(!(c.given & kBarHidden));
    h.machine.keyboard.SetShift(c.given & kShiftHeld);
    h.bar.flags().SafeShutdownRequested = c.given & kSafeShutdown;
    h.window.hosting().ShowPage(c.opener);
    if (c.alert) h.Plan(unit::PressKey(kAlert));

    EXPECT_EQ(h.OpenPopup(), c.expected);

    EXPECT_EQ(h.forms_shown(),
              c.alert ? std::vector<std::string>{kAlert} : std::vector<std::string>{});
    EXPECT_EQ(h.machine.ui.announcements(),
              c.announced ? std::vector<std::string>{"frmBand: " + settings.PopupAlertMessage}
                          : std::vector<std::string>{});
    EXPECT_TRUE(h.all_steps_taken());
    EXPECT_EQ(settings.Sites.entries(), c.sites);
    const bool captured = c.expected == kCaptured;
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

  EXPECT_EQ(h.OpenPopup(), kCaptured);

  const std::vector<std::string> expected = {"page-call skin OnCapture()",
                                             "sound Open:C:\\Media\\capture.wav",
                                             "sound Prev",
                                             "sound Play",
                                             "form frmSplashCapture shown",
                                             "form frmSplashCapture closed"};
  EXPECT_EQ(h.Trace({"page-call skin", "sound", "form"}), expected);
}

}  // namespace
}  // namespace windlock
