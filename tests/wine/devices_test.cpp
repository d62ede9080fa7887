// The capture sound's wave device on MCI, the help viewer and the skin folders' removal, from the
// Windows backend itself: their errors as the core sees them, the sound's end arriving through
// the message loop, and links left pointing where they pointed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "backends/win32/win32_file_system.h"
#include "backends/win32/win32_help.h"
#include "backends/win32/win32_sound_device.h"
#include "common/error.h"
#include "platform/help.h"
#include "support/dll_under_test.h"
#include "support/error_of.h"
#include "support/messages.h"

namespace windlock_test {
namespace {

using windlock::Error;
using windlock::win32::Win32Help;
using windlock::win32::Win32SoundDevice;

// HH_CLOSE_ALL; htmlhelp.h would rename the port's HtmlHelp to HtmlHelpW.
constexpr uint32_t kHhCloseAll = 0x12;

// A file of this test in the temporary folder, removed with it.
class TempFile {
 public:
  TempFile(const std::string& name, const std::vector<char>& bytes) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = Narrow(folder) + name;
    std::ofstream(path_, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  ~TempFile() { DeleteFileW(Widen(path_).c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A RIFF WAVE of 8-bit mono PCM at 8000 Hz: its 44-byte header, then a square wave of 400
// samples.
std::vector<char> Wave() {
  const char header[] =
      "RIFF\xB4\x01\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0data"
      "\x90\x01\0\0";
  std::vector<char> bytes(header, header + 44);
  for (int i = 0; i < 400; ++i) bytes.push_back((i / 10) % 2 ? '\xC0' : '\x40');
  return bytes;
}

// The device as the core drives it: every command with its own Notify and Wait.
void Send(Win32SoundDevice& device, bool notify, bool wait, const char* command) {
  device.SetNotify(notify);
  device.SetWait(wait);
  device.SetCommand(command);
}

void StartPlaying(Win32SoundDevice& device, const std::string& path) {
  device.SetFileName(path);
  Send(device, false, true, "Open");
  Send(device, false, true, "Prev");
  Send(device, true, false, "Play");
}

class SoundDeviceTest : public testing::Test {
 protected:
  SoundDeviceTest() {
    // As the core does: the end of playing closes the device.
    device_.SetDoneHandler([this] {
      ++done_;
      Send(device_, false, true, "Close");
    });
  }

  Win32SoundDevice device_;
  int done_ = 0;
  TempFile wave_{"windlock-devices-test.wav", Wave()};
};

// Without a sound device MCI reports the play's failure instead of its end; both are the end of
// playing, and come the same way: later, through the message loop. A capture while the sound
// still plays closes the device and plays again: what the closed device had to say must not end
// the new sound.
TEST_F(SoundDeviceTest, PlayEndsThroughTheMessageLoopButNotOnceClosed) {
  StartPlaying(device_, wave_.path());
  Send(device_, false, true, "Close");
  PumpUntil([] { return false; }, 1000);
  EXPECT_EQ(done_, 0);
  StartPlaying(device_, wave_.path());
  Send(device_, false, true, "Close");
  StartPlaying(device_, wave_.path());
  ASSERT_TRUE(PumpUntil([&] { return done_ > 0; }, 5000));
  PumpUntil([] { return false; }, 600);
  EXPECT_EQ(done_, 1);
  // Closed by the handler: the next capture opens the file afresh.
  StartPlaying(device_, wave_.path());
  ASSERT_TRUE(PumpUntil([&] { return done_ > 1; }, 5000));
  PumpUntil([] { return false; }, 600);
  EXPECT_EQ(done_, 2);
}

TEST_F(SoundDeviceTest, FailuresAreTheCoresErrors) {
  TempFile text{"windlock-devices-test-text.wav", std::vector<char>(600, 'x')};
  struct Case {
    const char* name;
    std::string file;
    const char* command;
    int32_t number;
  };
  const Case cases[] = {
      {"missing file", wave_.path() + ".gone", "Open", 275},
      {"not a wave file", text.path(), "Open", 296},
      {"unknown command", wave_.path(), "Eject", windlock::kErrInvalidPropertyValue},
  };
  for (const Case& c : cases) {
    device_.SetFileName(c.file);
    std::optional<Error> error = ErrorOf([&] { Send(device_, false, true, c.command); });
    ASSERT_TRUE(error) << c.name;
    EXPECT_EQ(c.number, error->number()) << c.name;
    EXPECT_FALSE(error->description().empty()) << c.name;
  }
  // Nothing was left open by the failures; the options dialog closes the device on every Apply,
  // open or not.
  EXPECT_NO_THROW(Send(device_, false, true, "Close"));
  EXPECT_NO_THROW(Send(device_, false, true, "Close"));
}

// The help file the build places beside the DLL.
std::string HelpFile() {
  std::wstring path = DllPath();
  return Narrow(path.substr(0, path.find_last_of(L'\\') + 1)) + "windlock.chm";
}

bool HelpWindowOpen() {
  return FindWindowW(L"HH Parent", nullptr) != nullptr;
}

// A missing file is the viewer's to report, not the bar's.
TEST(HelpTest, ShowsTheHelpFileAndClosesItAndLeavesAMissingOneToTheViewer) {
  Win32Help help;
  EXPECT_NO_THROW(help.HtmlHelp(HelpFile() + ".gone", windlock::kHhDisplayTopic, 0));
  EXPECT_FALSE(HelpWindowOpen());
  help.HtmlHelp(HelpFile(), windlock::kHhDisplayTopic, 0);
  EXPECT_TRUE(PumpUntil(HelpWindowOpen, 5000));
  help.HtmlHelp("", kHhCloseAll, 0);
  EXPECT_TRUE(PumpUntil([] { return !HelpWindowOpen(); }, 5000));
}

// Uninstalling a skin that holds a link to a folder elsewhere (or to itself) removes the link and
// leaves what it points to. Wine lists such a link as a file, so only Windows, which lists it as a
// folder, would follow it into what it points to.
TEST(FileSystemTest, RemovingAFolderRemovesItsLinksNotWhatTheyPointTo) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / L"windlock-remove";
  const fs::path skin = root / L"Skin";
  const fs::path elsewhere = root / L"Elsewhere";
  fs::remove_all(root);
  fs::create_directories(skin);
  fs::create_directories(elsewhere);
  std::ofstream(skin / L"own.txt") << "the skin's";
  std::ofstream(elsewhere / L"kept.txt") << "not the skin's";
  const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  if (!CreateSymbolicLinkW((skin / L"link").c_str(), elsewhere.c_str(), flags) ||
      !CreateSymbolicLinkW((skin / L"cycle").c_str(), skin.c_str(), flags)) {
    GTEST_SKIP() << "links cannot be made here: error " << GetLastError();
  }

  windlock::win32::Win32FileSystem().RemoveFolder(Narrow(skin.wstring()));

  EXPECT_FALSE(fs::exists(skin));
  EXPECT_TRUE(fs::exists(elsewhere / L"kept.txt"));
  fs::remove_all(root);
}

}  // namespace
}  // namespace windlock_test
