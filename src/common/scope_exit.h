#pragma once

#include <utility>

namespace windlock {

// Runs `leave` when the scope it guards ends, however it ends: what the scope borrowed or
// changed for its own time goes back.
template <class Leave>
class ScopeExit {
 public:
  explicit ScopeExit(Leave leave) : leave_(std::move(leave)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() { leave_(); }

 private:
  Leave leave_;
};

}  // namespace windlock
