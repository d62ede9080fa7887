#pragma once

#include <functional>
#include <string>

namespace windlock {

// The wave-audio multimedia control MMControl1: writing Command runs it. Real: MCI (win32).
// Fake: SimSoundDevice, which records the commands.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;

  virtual void SetNotify(bool notify) = 0;
  virtual void SetWait(bool wait) = 0;
  virtual void SetFileName(const std::string& path) = 0;
  // "Open", "Prev", "Play", "Close"; fails with an Error when the device refuses.
  virtual void SetCommand(const std::string& command) = 0;
  // The Done event: a command with Notify set has finished (playing has ended).
  virtual void SetDoneHandler(std::function<void()> on_done) = 0;
};

}  // namespace windlock
