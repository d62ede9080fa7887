#include "backends/sim/sim_sound_device.h"

#include <utility>

#include "backends/sim/sim_file_system.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

// MCIERR_FILE_NOT_FOUND
constexpr int32_t kErrSoundFileNotFound = 275;

}  // namespace

void SimSoundDevice::SetCommand(const std::string& command) {
  if (command == "Open") {
    if (!files_.FileExists(file_name_)) {
      trace_("sound Open:" + file_name_ + " failed");
      throw Error(kErrSoundFileNotFound, "Cannot find the specified file.");
    }
    commands_.push_back("Open:" + file_name_);
  } else {
    commands_.push_back(command);
  }
  trace_("sound " + commands_.back());
}

void SimSoundDevice::FinishPlaying() {
  if (on_done_) on_done_();
}

std::vector<std::string> SimSoundDevice::TakeCommands() {
  return std::exchange(commands_, {});
}

}  // namespace windlock::sim
