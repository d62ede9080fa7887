#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../sim_harness.h"
#include "common/error.h"
#include "dialogs/options_dialog.h"

namespace windlock::unit {

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

// An options dialog on a loaded bar, with the bar's side recorded.
class OptionsRig {
 public:
  OptionsRig() : platform_(WithFiles(h.window.platform(), files)) {}

  BarHarness h;
  FailingFiles files{h.machine.files};
  std::vector<int32_t> skins_applied;
  int skin_browses = 0;
  int sound_closes = 0;

  // Creates and loads the dialog (not shown modally).
  OptionsDialog& Open() {
    OptionsBarHooks hooks;
    hooks.apply_skin = [this](int32_t number) { skins_applied.push_back(number); };
    hooks.browse_for_skins = [this] { ++skin_browses; };
    hooks.close_sound = [this] { ++sound_closes; };
    dialog_ = std::make_unique<OptionsDialog>(platform_, h.apartment.module(), std::move(hooks));
    dialog_->Load();
    return *dialog_;
  }

 private:
  static Platform WithFiles(Platform& p, FileSystem& files) {
    return Platform{p.registry, files,     p.ui,  p.timers, p.clock, p.keyboard, p.text,
                    p.controls, p.windows, p.xml, p.help,   p.menus, p.programs};
  }

  Platform platform_;
  std::unique_ptr<OptionsDialog> dialog_;
};

}  // namespace windlock::unit
