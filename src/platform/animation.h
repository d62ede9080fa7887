#pragma once

#include <string>

namespace windlock {

// The animation control Animation1 that plays the loading clip. Real: comctl32's animation
// control (win32). Fake: SimAnimation.
class Animation {
 public:
  virtual ~Animation() = default;
  // Opens a clip file; fails with an Error when the file is missing or unreadable.
  virtual void Open(const std::string& path) = 0;
  // Plays the open clip over and over until Stop.
  virtual void Play() = 0;
  virtual void Stop() = 0;
};

}  // namespace windlock
