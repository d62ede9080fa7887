#pragma once

#include "platform/programs.h"

namespace windlock::win32 {

// Starts programs through the shell.
class Win32Programs : public Programs {
 public:
  void Start(const std::string& path) override;
};

}  // namespace windlock::win32
