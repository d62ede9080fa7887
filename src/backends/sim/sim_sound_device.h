#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "backends/sim/sim_trace.h"
#include "platform/sound_device.h"

namespace windlock::sim {

class SimFileSystem;

// A wave device that records its commands ("Open:PATH", "Prev", "Play", "Close"). Opening a
// file that does not exist fails, as a real device does.
class SimSoundDevice : public SoundDevice {
 public:
  SimSoundDevice(const SimTrace& trace, SimFileSystem& files) : trace_(trace), files_(files) {}

  void SetNotify(bool) override {}
  void SetWait(bool) override {}
  void SetFileName(const std::string& path) override { file_name_ = path; }
  void SetCommand(const std::string& command) override;
  void SetDoneHandler(std::function<void()> on_done) override { on_done_ = std::move(on_done); }

  // Playing has ended: the Done event.
  void FinishPlaying();
  // Commands since the last call.
  std::vector<std::string> TakeCommands();

 private:
  const SimTrace& trace_;
  SimFileSystem& files_;
  std::string file_name_;
  std::function<void()> on_done_;
  std::vector<std::string> commands_;
};

}  // namespace windlock::sim
