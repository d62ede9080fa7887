#include "backends/sim/sim_devices.h"

#include <cmath>

#include "backends/sim/sim_file_system.h"
#include "common/error.h"
#include "common/utf8.h"

namespace windlock::sim {
namespace {

// MCIERR_FILE_NOT_FOUND
constexpr int32_t kErrSoundFileNotFound = 275;

}  // namespace

void SimKeyboard::GetKeyboardState(KeyTable& keys) {
  keys.fill(0);
  if (shift_down_) keys[kVkShift] = kKeyDown;
}

TextSize SimTextMeasure::Measure(const std::string& text, const Font& font) {
  double chars = static_cast<double>(CharCount(text));
  return TextSize{static_cast<float>(std::round(chars * font.size * 10)),
                  static_cast<float>(std::round(font.size * 23.0))};
}

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
