#include "backends/sim/sim_browser.h"

#include <algorithm>

#include "backends/sim/sim_file_system.h"
#include "common/error.h"

namespace windlock::sim {

void SimNavigationQueue::Push(SimBrowser& browser, NavigateRequest request,
                              std::optional<std::string> title) {
  pending_.push_back({&browser, std::move(request), std::move(title)});
}

void SimNavigationQueue::Drop(const SimBrowser& browser) {
  std::erase_if(pending_, [&](const Pending& pending) { return pending.browser == &browser; });
}

void SimNavigationQueue::DeliverAll() {
  while (!held_ && !pending_.empty()) {
    Pending next = std::move(pending_.front());
    pending_.pop_front();
    next.browser->Arrive(next.request, next.title);
  }
}

const char* RoleName(BrowserRole role) {
  switch (role) {
    case BrowserRole::kHost:
      return "host";
    case BrowserRole::kPreview:
      return "preview";
    case BrowserRole::kSkin:
      return "skin";
  }
  return "?";
}

const char* DecisionName(NewWindowDecision decision) {
  switch (decision) {
    case NewWindowDecision::kAllowed:
      return "allowed";
    case NewWindowDecision::kCaptured:
      return "captured";
    case NewWindowDecision::kBlocked:
      return "blocked";
  }
  return "?";
}

NavigateRequest AsBrowserReportsIt(const NavigateRequest& request) {
  NavigateRequest reported = request;
  if (reported.flags.empty()) reported.flags = 0;
  if (reported.target_frame_name.empty()) reported.target_frame_name = "";
  if (reported.headers.empty()) reported.headers = "";
  return reported;
}

std::string DescribeRequest(const NavigateRequest& request) {
  // Options left at their defaults (omitted, 0 or empty) are not shown.
  std::string text = Quote(request.url.ToText());
  auto option = [&text](const char* name, const Variant& value, bool quoted) {
    std::string shown = value.ToText();
    if (shown.empty() || shown == "0") return;
    text += std::string(" ") + name + " " + (quoted ? Quote(shown) : shown);
  };
  option("flags", request.flags, false);
  option("target", request.target_frame_name, true);
  option("post", request.post_data, true);
  option("headers", request.headers, true);
  return text;
}

SimBrowser::SimBrowser(SimWorld& world, BrowserRole role) : world_(world), role_(role) {}

SimBrowser::~SimBrowser() {
  world_.navigations.Drop(*this);
}

void SimBrowser::Navigate2(const NavigateRequest& request) {
  last_navigation_ = request;
  ++navigations_since_check_;
  world_.trace("navigate " + Name() + " " + DescribeRequest(request));
  if (role_ == BrowserRole::kHost && request.target_frame_name.ToText() == "_blank") {
    OpenWindow(request, std::nullopt);
    return;
  }
  world_.navigations.Push(*this, request);
}

void SimBrowser::Stop() {
  world_.navigations.Drop(*this);
}

void SimBrowser::Quit() {
  quit_ = true;
  world_.trace("quit " + Name());
  // Closing the window tells the browser's listeners first.
  RaiseOnQuit();
}

void SimBrowser::ShowBrowserBar(const std::string& clsid, bool show) {
  browser_bar_ = show;
  world_.trace("browser-bar " + std::string(show ? "show " : "hide ") + clsid);
}

void SimBrowser::Advise(BrowserEvents* events) {
  sinks_.push_back(events);
}

void SimBrowser::Unadvise(BrowserEvents* events) {
  std::erase(sinks_, events);
}

void SimBrowser::Load(const std::string& url) {
  location_ = url;
  std::optional<std::string> text = world_.files.ReadFile(url);
  document_ = std::make_unique<SimDocument>(
      world_.trace, Name(), text.value_or(""), page_calls_,
      [this](const std::string& function) { RunPageScript(function); });
}

bool SimBrowser::Deliver(const NavigateRequest& request) {
  std::string url = request.url.ToText();
  if (role_ == BrowserRole::kPreview) {
    bool cancel = false;
    NavigateRequest delivered = AsBrowserReportsIt(request);
    for (BrowserEvents* sink : Sinks()) sink->BeforeNavigate2(delivered, cancel);
    if (cancel) {
      world_.trace("preview navigation cancelled " + Quote(url));
      return false;
    }
  }
  if (role_ == BrowserRole::kHost) {
    location_ = url;
  } else {
    Load(url);
  }
  RaiseDocumentComplete();
  return true;
}

void SimBrowser::Arrive(const NavigateRequest& request, const std::optional<std::string>& title) {
  if (Deliver(request) && title) RaiseTitleChange(*title);
}

void SimBrowser::ShowPage(const std::string& url) {
  location_ = url;
  RaiseDocumentComplete();
}

void SimBrowser::RaiseDocumentComplete() {
  for (BrowserEvents* sink : Sinks()) sink->DocumentComplete(location_);
}

void SimBrowser::RaiseTitleChange(const std::string& text) {
  for (BrowserEvents* sink : Sinks()) sink->TitleChange(text);
}

void SimBrowser::RaiseOnQuit() {
  for (BrowserEvents* sink : Sinks()) sink->OnQuit();
}

bool SimBrowser::RaiseNewWindow() {
  Browser* target = nullptr;
  bool cancel = false;
  for (BrowserEvents* sink : Sinks()) sink->NewWindow2(target, cancel);
  return cancel;
}

bool SimBrowser::RaiseWindowClosing() {
  bool cancel = false;
  for (BrowserEvents* sink : Sinks()) sink->WindowClosing(false, cancel);
  return cancel;
}

void SimBrowser::RaiseWindowSetPosition() {
  for (BrowserEvents* sink : Sinks()) sink->WindowSetPosition();
}

void SimBrowser::RunPageScript(const std::string& function) {
  if (function == "moveTo") RaiseWindowMoved();
  auto reaction = page_script_.find(function);
  if (reaction == page_script_.end()) return;
  // A copy: the script may give the page other script.
  std::function<void()> run = reaction->second;
  run();
}

void SimBrowser::RaiseWindowMoved() {
  for (const char* event : {"WindowSetLeft", "WindowSetTop"}) {
    world_.trace(Name() + " " + event);
    RaiseWindowSetPosition();
  }
}

NewWindowDecision SimBrowser::OpenWindow(const NavigateRequest& request,
                                         const std::optional<std::string>& title) {
  Browser* target = nullptr;
  bool cancel = false;
  for (BrowserEvents* sink : Sinks()) sink->NewWindow2(target, cancel);
  NewWindowDecision decision = cancel   ? NewWindowDecision::kBlocked
                               : target ? NewWindowDecision::kCaptured
                                        : NewWindowDecision::kAllowed;
  last_decision_ = decision;
  world_.trace("decision " + std::string(DecisionName(decision)) + " " + DescribeRequest(request));
  if (decision == NewWindowDecision::kAllowed) {
    ++windows_opened_;
  } else if (decision == NewWindowDecision::kCaptured) {
    auto* receiver = dynamic_cast<SimBrowser*>(target);
    if (!receiver) throw std::logic_error("a new window was handed to a foreign browser");
    world_.navigations.Push(*receiver, request, title);
  }
  return decision;
}

}  // namespace windlock::sim
