#pragma once

#include <exception>
#include <utility>

namespace windlock {

// Runs `undo` when the scope it guards is left by an exception, to take back what a half-done
// set-up made; a scope that ends normally keeps it.
template <class Undo>
class OnFailure {
 public:
  explicit OnFailure(Undo undo) : undo_(std::move(undo)) {}
  OnFailure(const OnFailure&) = delete;
  OnFailure& operator=(const OnFailure&) = delete;
  ~OnFailure() {
    if (std::uncaught_exceptions() > exceptions_) undo_();
  }

 private:
  Undo undo_;
  int exceptions_ = std::uncaught_exceptions();
};

}  // namespace windlock
