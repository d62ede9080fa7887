#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "backends/sim/sim_dom.h"
#include "backends/sim/sim_trace.h"
#include "platform/browser.h"

namespace windlock::sim {

// A page built from a file's text: each "function NAME(" is a page function, <title> is the
// title, every element written with an id can be found by it. Calls of page functions and of
// the window's built-in moveTo are recorded in the browser's call log, then told to `called`
// before the call returns, as a page's script runs inside the call: the browser moves the window
// for moveTo, and runs what a test gave it for a function (a skin page calling back through
// window.external). A call of a function the page lacks fails.
class SimDocument : public HtmlDocument {
 public:
  SimDocument(const SimTrace& trace, std::string browser_name, const std::string& text,
              std::vector<std::string>& call_log,
              std::function<void(const std::string& function)> called);

  Variant CallFunction(const std::string& name, const std::vector<Variant>& args) override;
  bool HasElement(const std::string& id) override { return dom_.Has(id); }
  void SetInnerHtml(const std::string& id, const std::string& html) override;
  HtmlOptions* SelectOptions(const std::string& id) override { return dom_.Options(id); }
  void SetWindowName(const std::string& name) override { window_name_ = name; }
  void SetBodyOverflow(const std::string& overflow) override { body_overflow_ = overflow; }

  const std::string& title() const { return title_; }
  const SimDom& dom() const { return dom_; }
  const std::string& window_name() const { return window_name_; }
  // The body's overflow style as the program last set it; none while it never did.
  const std::optional<std::string>& body_overflow() const { return body_overflow_; }

 private:
  const SimTrace& trace_;
  std::string browser_name_;
  std::set<std::string> functions_;
  std::string title_;
  SimDom dom_;
  std::string window_name_;
  std::optional<std::string> body_overflow_;
  std::vector<std::string>& call_log_;
  std::function<void(const std::string&)> called_;
};

}  // namespace windlock::sim
