#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/browser.h"
#include "platform/sim/sim_trace.h"

namespace windlock::sim {

// A page built from a file's text: each "function NAME(" is a page function, <title> is the
// title. Calls of page functions and of the window's built-in moveTo are recorded in the
// browser's call log, not run; a call of a function the page lacks fails.
class SimDocument : public HtmlDocument {
 public:
  SimDocument(const SimTrace& trace, std::string browser_name, const std::string& text,
              std::vector<std::string>& call_log);

  Variant CallFunction(const std::string& name, const std::vector<Variant>& args) override;

  const std::string& title() const { return title_; }

 private:
  const SimTrace& trace_;
  std::string browser_name_;
  std::set<std::string> functions_;
  std::string title_;
  std::vector<std::string>& call_log_;
};

}  // namespace windlock::sim
