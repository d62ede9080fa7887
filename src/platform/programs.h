#pragma once

#include <string>

namespace windlock {

// Starting other programs. Real: the shell (win32). Fake: SimPrograms, which records the
// program started.
class Programs {
 public:
  virtual ~Programs() = default;

  // Starts the program at this path in a normal window that takes the focus; fails with an
  // Error when it cannot be started.
  virtual void Start(const std::string& path) = 0;
};

}  // namespace windlock
