#pragma once

#include <optional>
#include <string>

#include "backends/sim/sim_file_system.h"
#include "backends/sim/sim_trace.h"
#include "platform/programs.h"

namespace windlock::sim {

// Starts a program when its file exists in the simulated file system, and remembers the last
// one started.
class SimPrograms : public Programs {
 public:
  SimPrograms(const SimTrace& trace, SimFileSystem& files) : trace_(trace), files_(files) {}

  void Start(const std::string& path) override;

  const std::optional<std::string>& last_started() const { return last_started_; }

 private:
  const SimTrace& trace_;
  SimFileSystem& files_;
  std::optional<std::string> last_started_;
};

}  // namespace windlock::sim
