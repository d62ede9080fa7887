#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/apartment.h"
#include "platform/sim/sim_machine.h"
#include "settings/settings.h"

namespace windlock::unit {

inline constexpr const char* kOpenerPage = "http://opener.example/news/today.html";
inline constexpr const char* kOpenerSite = "opener.example";
inline constexpr const char* kPopupUrl = "http://pop.example/ad.html";

// A stored value as one comparable line: "dword 1", "sz text", "other" or "missing".
std::string StoredAs(const sim::SimRegistry& registry, const std::string& path);

// The record of a user who kept the installed choices: capture always, alert on, no prompt.
Settings InstalledSettings();

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
  sim::SimSoundDevice& sound() { return *window.controls().sound(); }
  void SetBarShowing(bool showing) { machine.windows.ShowWindow(bar.hWnd(), showing); }

  void Plan(UserStep step) { steps_.push_back(std::move(step)); }
  bool all_steps_taken() const { return steps_.empty(); }
  // The page in the hosting browser opens a window; returns what became of it.
  sim::NewWindowDecision OpenPopup();
  // Puts a page in the bar's skin browser.
  void ShowSkinPage(const std::string& text);

  const std::vector<std::string>& forms_shown() const { return forms_shown_; }
  // Trace lines that start with any of the prefixes, in order.
  std::vector<std::string> Trace(const std::vector<std::string_view>& prefixes) const;

 private:
  std::deque<UserStep> steps_;
  std::vector<std::string> forms_shown_;
  std::vector<std::string> trace_;
};

}  // namespace windlock::unit
