#include "capture/capture_sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_file_system.h"

namespace windlock {
namespace {

constexpr const char* kFirst = "C:\\Media\\first.wav";
constexpr const char* kSecond = "C:\\Media\\second.wav";
constexpr const char* kMissing = "C:\\Media\\missing.wav";

// "play PATH" starts the sound, "done" is the device reporting the end of playing.
struct Case {
  const char* name;
  std::vector<std::string> script;
  std::vector<std::string> commands;
};

const Case kCases[] = {
    {"one capture", {"play first"}, {"Open:C:\\Media\\first.wav", "Prev", "Play"}},
    {"playing ends",
     {"play first", "done"},
     {"Open:C:\\Media\\first.wav", "Prev", "Play", "Close"}},
    {"second capture while still playing",
     {"play first", "play second"},
     {"Open:C:\\Media\\first.wav", "Prev", "Play", "Close", "Open:C:\\Media\\second.wav", "Prev",
      "Play"}},
    {"second capture after playing ended",
     {"play first", "done", "play second"},
     {"Open:C:\\Media\\first.wav", "Prev", "Play", "Close", "Open:C:\\Media\\second.wav", "Prev",
      "Play"}},
    {"a failed open leaves nothing to close",
     {"play missing", "play second"},
     {"Open:C:\\Media\\second.wav", "Prev", "Play"}},
};

TEST(CaptureSoundTest, CommandsSentToTheDevice) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    sim::SimTrace trace;
    sim::SimFileSystem files;
    files.AddFile(kFirst, "RIFF");
    files.AddFile(kSecond, "RIFF");
    sim::SimSoundDevice device(trace, files);
    CaptureSound sound(device);

    for (const std::string& step : c.script) {
      if (step == "done") {
        device.FinishPlaying();
      } else if (step == "play first") {
        sound.Play(kFirst);
      } else if (step == "play second") {
        sound.Play(kSecond);
      } else {
        EXPECT_THROW(sound.Play(kMissing), Error);
      }
    }
    EXPECT_EQ(device.TakeCommands(), c.commands);
  }
}

}  // namespace
}  // namespace windlock
