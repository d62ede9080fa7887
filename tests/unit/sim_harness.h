#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "backends/sim/sim_band_site.h"
#include "backends/sim/sim_machine.h"
#include "common/error.h"
#include "host/apartment.h"
#include "host/band.h"
#include "settings/settings.h"

namespace windlock::unit {

inline constexpr const char* kOpenerPage = "http://opener.example/news/today.html";
inline constexpr const char* kPopupUrl = "http://pop.example/ad.html";

// The error number an action fails with, or none when it does not fail.
template <typename Action>
std::optional<int32_t> ErrorNumberOf(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.number();
  }
  return std::nullopt;
}

// The record of a user who kept the installed choices: capture always, alert on, no prompt.
Settings InstalledSettings();
// The installed choices with the alert off: a capture brings up nothing modal.
Settings QuietSettings();

// One user action on the topmost modal form. The form is named so that a test fails at once
// when some other window comes up than the one it planned for.
struct UserStep {
  std::string form;
  std::function<void(Form&)> act;
};

UserStep Click(std::string form, std::string control);
UserStep PressKey(std::string form);

// One simulated browser window with the bar loaded, bound to its hosting browser, showing,
// and the opener page on display. Modal forms are answered from the planned steps in order.
class BarHarness {
 public:
  BarHarness();
  ~BarHarness();

  sim::SimMachine machine;
  sim::SimWindow& window;
  Apartment apartment;
  BarForm& bar;

  Settings& settings() { return apartment.module().settings; }
  sim::SimBrowser& preview() { return window.controls().preview()->browser(); }
  sim::SimBrowser& skin() { return *window.controls().skin(); }
  void SetBarShowing(bool showing) { machine.windows.ShowWindow(bar.hWnd(), showing); }

  void Plan(UserStep step) { steps_.push_back(std::move(step)); }
  bool all_steps_taken() const { return steps_.empty(); }
  // The page in the hosting browser opens a window; returns what became of it. Then the queued
  // navigations are delivered, as after any user action, a captured window's first among them.
  // A captured one reports the title, when given, once its page has loaded.
  sim::NewWindowDecision OpenPopup(const NavigateRequest& request = NavigateRequest::To(kPopupUrl),
                                   const std::optional<std::string>& title = std::nullopt);
  // Puts a page in the bar's skin browser.
  void ShowSkinPage(const std::string& text);

  // The captured list as each view shows it: the list view's item texts in order, the XML
  // mirror in canonical form, and the skin page's selection box as "value=text" ("value=text *"
  // when selected), none while the page has no such box.
  std::vector<std::string> ListTexts() const;
  std::string Mirror() const { return sim::CanonicalText(bar.xml_mirror()); }
  std::optional<std::vector<std::string>> SkinOptions();
  // Selects exactly these list view items.
  void SelectItems(const std::vector<std::size_t>& positions);

  const std::vector<std::string>& forms_shown() const { return forms_shown_; }
  // Trace lines that start with any of the prefixes, in order.
  std::vector<std::string> Trace(const std::vector<std::string_view>& prefixes) const;

 private:
  std::deque<UserStep> steps_;
  std::vector<std::string> forms_shown_;
  std::vector<std::string> trace_;
};

// One browser window's thread as the browser drives its band: the thread's apartment, a band
// site whose window stands for the browser's bar, and the band once created.
class BandThread {
 public:
  BandThread(sim::SimMachine& machine, int window_id);

  sim::SimMachine& machine;
  sim::SimWindow& window;
  Apartment apartment;
  const WindowHandle site_window;
  sim::SimBandSite site;

  Band& CreateBand();
  Band& band() { return *band_; }
  // The browser lets the band go.
  void ReleaseBand() { band_.reset(); }
  Settings& settings() { return apartment.module().settings; }
  BarForm* form() { return apartment.bar_form(); }
  // The system sends a message to the bar window, through whatever procedure it has now.
  void SendToBar(uint32_t message);
  // The opener page opens a window; returns what became of it once the queued navigations
  // have been delivered.
  sim::NewWindowDecision OpenPopup();

 private:
  // Last, so the band goes before the apartment it lives in.
  std::unique_ptr<Band> band_;
};

// A machine whose registry holds QuietSettings, with window 1's band created but not sited.
// The trace is kept.
class BandRig {
 public:
  BandRig();
  ~BandRig();

  sim::SimMachine machine;
  BandThread thread{machine, 1};

  Band& band() { return thread.band(); }
  HResult Site() { return band().SetSite(&thread.site); }
  // The bar window; the form must be loaded.
  WindowHandle bar() { return thread.form()->hWnd(); }
  // Trace lines since the last call.
  std::vector<std::string> TakeTrace() { return std::exchange(trace_, {}); }

 private:
  std::vector<std::string> trace_;
};

// A message as one comparable line.
std::string MessageText(const WindowMessage& message);
std::vector<std::string> MessageTexts(const std::vector<WindowMessage>& messages);

// Stands between the window system and the hook procedure: records each message the hook
// handles, and after each one lets a test look at the window while it still exists (a destroyed
// window is gone once DestroyWindow returns). HookWindow puts the plain hook procedure back, so
// install the spy after the last HookWindow.
class HookSpy {
 public:
  using AfterEach = std::function<void(const WindowMessage&, intptr_t result)>;
  explicit HookSpy(sim::SimWindowSystem& windows, AfterEach after_each = {});
  // Puts the plain hook procedure back.
  ~HookSpy();
  HookSpy(const HookSpy&) = delete;
  HookSpy& operator=(const HookSpy&) = delete;

  const std::vector<WindowMessage>& seen() const { return seen_; }

 private:
  sim::SimWindowSystem& windows_;
  std::vector<WindowMessage> seen_;
};

}  // namespace windlock::unit

namespace windlock {

// The names the bar's tests share.
using sim::NewWindowDecision;
using Texts = std::vector<std::string>;
using unit::BarHarness;

}  // namespace windlock
