#pragma once

#include <optional>

#include "common/error.h"

namespace windlock_test {

// The core's error that `run` raises; none when it returns.
template <class Run>
std::optional<windlock::Error> ErrorOf(Run run) {
  try {
    run();
  } catch (const windlock::Error& error) {
    return error;
  }
  return std::nullopt;
}

}  // namespace windlock_test
