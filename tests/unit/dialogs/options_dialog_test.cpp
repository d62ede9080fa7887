#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "common/error.h"

namespace windlock {
namespace {

// The machine's file system, with listing failing on request.
class FailingFiles : public FileSystem {
 public:
  explicit FailingFiles(FileSystem& files) : files_(files) {}

  bool fail_listing = false;

  bool FileExists(const std::string& path) override { return files_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return files_.FolderExists(path); }
  std::vector<std::string> SubFolders(const std::string& path) override {
    if (fail_listing) throw Error(70, "Permission denied");
    return files_.SubFolders(path);
  }
  void RemoveFolder(const std::string& path) override { files_.RemoveFolder(path); }
  std::string ProgramFolder() override { return files_.ProgramFolder(); }

 private:
  FileSystem& files_;
};

// An options dialog on a loaded bar, filled but not shown modally.
class OptionsRig {
 public:
  unit::BarHarness h;
  FailingFiles files{h.machine.files};

  OptionsDialog& Open() {
    Platform& p = h.window.platform();
    platform_ = std::make_unique<Platform>(Platform{p.registry, files, p.ui, p.timers, p.clock,
                                                    p.keyboard, p.text, p.controls, p.windows,
                                                    p.xml, p.help, p.menus, p.programs});
    dialog_ = std::make_unique<OptionsDialog>(*platform_, h.apartment.module(), OptionsBarHooks{});
    dialog_->Load();
    return *dialog_;
  }

 private:
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<OptionsDialog> dialog_;
};

TEST(OptionsDialogTest, SliderShowsStoredTimesOutsideItsRangeAtItsEnds) {
  const struct {
    int32_t stored;
    int shown;
  } cases[] = {{-5, 1}, {0, 1}, {1, 1}, {5000, 5000}, {70000, 5000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    OptionsRig rig;
    rig.h.settings().PopupAlertDisplayTime = c.stored;
    EXPECT_EQ(rig.Open().FindControl("cmdDisplayTime")->value, c.shown);
  }
}

TEST(OptionsDialogTest, AFailingFillIsReportedAndEndsTheFill) {
  OptionsRig rig;
  rig.h.settings().Sites.Assign({"trust:a.example"});
  rig.files.fail_listing = true;
  rig.h.machine.files.AddFolder(rig.h.machine.files.ProgramFolder() + "\\Skins\\Blue");
  OptionsDialog& dialog = rig.Open();
  const auto& boxes = rig.h.machine.ui.message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error Initializing The Options Box\r\n0\r\n70\r\nPermission denied");
  EXPECT_EQ(boxes[0].title, "Error");
  EXPECT_EQ(boxes[0].style, kMbOk);
  // The steps before the failing one took effect; Apply is off all the same.
  EXPECT_EQ(dialog.FindControl("List1")->lines, std::vector<std::string>{"a.example"});
  EXPECT_EQ(dialog.FindControl("listSkins")->lines, std::vector<std::string>{"Original"});
  EXPECT_FALSE(dialog.FindControl("cmdApply")->enabled);
}

}  // namespace
}  // namespace windlock
