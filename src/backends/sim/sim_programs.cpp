#include "backends/sim/sim_programs.h"

#include "common/error.h"

namespace windlock::sim {
namespace {

// What the shell reports for a missing program file.
constexpr int32_t kErrFileNotFound = static_cast<int32_t>(0x80070002);

}  // namespace

void SimPrograms::Start(const std::string& path) {
  if (!files_.FileExists(path)) {
    trace_("start " + Quote(path) + " failed");
    throw Error(kErrFileNotFound, "The system cannot find the file specified.");
  }
  last_started_ = path;
  trace_("start " + Quote(path));
}

}  // namespace windlock::sim
