#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backends/sim/sim_document.h"
#include "backends/sim/sim_trace.h"
#include "platform/browser.h"

namespace windlock::sim {

class SimBrowser;
class SimFileSystem;

// Navigations the program requested, and a captured window's first one, delivered in order after
// each user action and each timer tick; `hold` keeps them waiting.
class SimNavigationQueue {
 public:
  // `title`: what the page reports once it has loaded, when it says.
  void Push(SimBrowser& browser, NavigateRequest request,
            std::optional<std::string> title = std::nullopt);
  void Drop(const SimBrowser& browser);
  void DeliverAll();
  void Hold() { held_ = true; }
  void Release() { held_ = false; }

 private:
  struct Pending {
    SimBrowser* browser;
    NavigateRequest request;
    std::optional<std::string> title;
  };
  std::deque<Pending> pending_;
  bool held_ = false;
};

// What every simulated browser reaches.
struct SimWorld {
  const SimTrace& trace;
  SimFileSystem& files;
  SimNavigationQueue& navigations;
};

enum class BrowserRole { kHost, kPreview, kSkin };
enum class NewWindowDecision { kAllowed, kCaptured, kBlocked };

const char* RoleName(BrowserRole role);
const char* DecisionName(NewWindowDecision decision);

// One simulated IWebBrowser2: the hosting browser of a window, or the bar's preview or skin
// browser. It records what the program asked of it.
class SimBrowser : public Browser {
 public:
  SimBrowser(SimWorld& world, BrowserRole role);
  ~SimBrowser() override;

  // Browser
  std::string LocationURL() override { return location_; }
  void Navigate2(const NavigateRequest& request) override;
  void Stop() override;
  void Quit() override;
  void ShowBrowserBar(const std::string& clsid, bool show) override;
  HtmlDocument* Document() override { return document_.get(); }
  void Advise(BrowserEvents* events) override;
  void Unadvise(BrowserEvents* events) override;

  // Carries out a navigation now (the queue delivers through this); false when BeforeNavigate2
  // cancelled it.
  bool Deliver(const NavigateRequest& request);
  // Delivers a navigation, then reports the title, when given: a queued one, or a link followed
  // in the page, which is carried out at once.
  void Arrive(const NavigateRequest& request, const std::optional<std::string>& title);
  // The user shows a page: LocationURL becomes the address and DocumentComplete is raised.
  void ShowPage(const std::string& url);
  void RaiseDocumentComplete();
  void RaiseTitleChange(const std::string& text);
  void RaiseOnQuit();
  // The page asks for a window of its own (NewWindow2 with no browser to put it in), to close
  // its window, or to move it; each returns whether a handler cancelled it.
  bool RaiseNewWindow();
  bool RaiseWindowClosing();
  void RaiseWindowSetPosition();
  // The page's moveTo: WindowSetLeft, then WindowSetTop.
  void RaiseWindowMoved();
  // A page opens a window (NewWindow2); what the handlers decided happens next. A window handed
  // to another browser reaches it as a queued navigation, after NewWindow2 has returned.
  NewWindowDecision OpenWindow(const NavigateRequest& request,
                               const std::optional<std::string>& title);

  // What the program did to this browser.
  BrowserRole role() const { return role_; }
  const std::optional<NavigateRequest>& last_navigation() const { return last_navigation_; }
  // Navigations requested since the last call.
  int TakeNavigationCount() { return std::exchange(navigations_since_check_, 0); }
  std::vector<std::string> TakePageCalls() { return std::exchange(page_calls_, {}); }
  // What the pages' `function` does when the program calls it, inside the call.
  void SetPageScript(const std::string& function, std::function<void()> script) {
    page_script_[function] = std::move(script);
  }
  std::optional<NewWindowDecision> last_decision() const { return last_decision_; }
  int windows_opened() const { return windows_opened_; }
  std::optional<bool> browser_bar() const { return browser_bar_; }
  bool quit() const { return quit_; }

 private:
  std::vector<BrowserEvents*> Sinks() const { return sinks_; }
  void Load(const std::string& url);
  void RunPageScript(const std::string& function);
  std::string Name() const { return RoleName(role_); }

  SimWorld& world_;
  BrowserRole role_;
  std::string location_;
  std::unique_ptr<SimDocument> document_;
  std::vector<BrowserEvents*> sinks_;
  std::optional<NavigateRequest> last_navigation_;
  int navigations_since_check_ = 0;
  std::vector<std::string> page_calls_;
  std::map<std::string, std::function<void()>> page_script_;
  std::optional<NewWindowDecision> last_decision_;
  int windows_opened_ = 0;
  std::optional<bool> browser_bar_;
  bool quit_ = false;
};

// Describes a request in a trace line: URL and the options that are set.
std::string DescribeRequest(const NavigateRequest& request);
// The request as BeforeNavigate2 reports it: omitted flags are 0, an omitted target frame and
// omitted headers are empty texts; post data stays as it was.
NavigateRequest AsBrowserReportsIt(const NavigateRequest& request);

}  // namespace windlock::sim
