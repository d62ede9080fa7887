#pragma once

#include <string>

#include "platform/sound_device.h"

namespace windlock {

// The capture sound on the bar's wave-audio device: opened for each capture, closed when the
// device reports that playing has ended.
class CaptureSound {
 public:
  explicit CaptureSound(SoundDevice& device);

  // PlayCaptureSound: starts the sound and returns at once. A device still open from an
  // earlier capture is closed first, so it is never opened twice.
  void Play(const std::string& path);
  // Closes the device at once, waiting for it, so it holds no file any more.
  void Close();
  // The device's Done event.
  void Done();

 private:
  void Send(bool notify, bool wait, const char* command);

  SoundDevice& device_;
  bool open_ = false;
};

}  // namespace windlock
