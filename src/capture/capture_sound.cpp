#include "capture/capture_sound.h"

#include "common/error.h"

namespace windlock {

CaptureSound::CaptureSound(SoundDevice& device) : device_(device) {
  device_.SetDoneHandler([this] { Done(); });
}

void CaptureSound::Send(bool notify, bool wait, const char* command) {
  device_.SetNotify(notify);
  device_.SetWait(wait);
  device_.SetCommand(command);
}

void CaptureSound::Play(const std::string& path) {
  if (open_) Close();
  device_.SetNotify(false);
  device_.SetWait(true);
  device_.SetFileName(path);
  device_.SetCommand("Open");
  open_ = true;
  Send(false, true, "Prev");
  Send(true, false, "Play");
}

void CaptureSound::Close() {
  open_ = false;
  Send(false, true, "Close");
}

void CaptureSound::Done() {
  open_ = false;
  try {
    Send(false, true, "Close");
  } catch (const Error&) {
    // Playing has ended either way; a device that will not close has nothing left to tell.
  }
}

}  // namespace windlock
