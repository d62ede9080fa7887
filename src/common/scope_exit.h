#pragma once

#include <exception>
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

// Runs `undo` only when the scope is left by an exception, to take back what a half-done set-up
// made; a scope that ends normally keeps it.
template <class Undo>
auto OnFailure(Undo undo) {
  return ScopeExit([undo = std::move(undo), exceptions = std::uncaught_exceptions()] {
    if (std::uncaught_exceptions() > exceptions) undo();
  });
}

}  // namespace windlock
