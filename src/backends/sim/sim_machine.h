#pragma once

#include <map>
#include <memory>

#include "backends/sim/sim_browser.h"
#include "backends/sim/sim_controls.h"
#include "backends/sim/sim_file_system.h"
#include "backends/sim/sim_help.h"
#include "backends/sim/sim_keyboard.h"
#include "backends/sim/sim_menus.h"
#include "backends/sim/sim_programs.h"
#include "backends/sim/sim_registry.h"
#include "backends/sim/sim_scheduler.h"
#include "backends/sim/sim_text_measure.h"
#include "backends/sim/sim_trace.h"
#include "backends/sim/sim_ui.h"
#include "backends/sim/sim_window_system.h"
#include "backends/sim/sim_xml_document.h"
#include "platform/platform.h"

namespace windlock::sim {

class SimMachine;

// One browser window of the simulated machine: its hosting browser, the controls its bar makes
// and the services its thread sees.
class SimWindow {
 public:
  SimWindow(SimMachine& machine, int id);

  int id() const { return id_; }
  SimBrowser& hosting() { return hosting_; }
  SimControlFactory& controls() { return controls_; }
  Platform& platform() { return platform_; }

 private:
  int id_;
  SimBrowser hosting_;
  SimControlFactory controls_;
  Platform platform_;
};

// The simulated machine: one registry, file system, clock, keyboard and screen shared by its
// browser windows, each on a thread of its own.
class SimMachine {
 public:
  SimMachine();
  SimMachine(const SimMachine&) = delete;
  SimMachine& operator=(const SimMachine&) = delete;

  SimTrace trace;
  SimRegistry registry{trace};
  SimFileSystem files;
  SimScheduler scheduler;
  SimKeyboard keyboard;
  SimTextMeasure text;
  SimUi ui{trace};
  SimWindowSystem windows{trace};
  SimXmlFactory xml{files};
  SimHelp help{trace};
  SimMenus menus{trace};
  SimPrograms programs{trace, files};
  SimNavigationQueue navigations;
  SimWorld world{trace, files, navigations};

  // Window N, made on first use.
  SimWindow& Window(int id);

 private:
  std::map<int, std::unique_ptr<SimWindow>> windows_;
};

}  // namespace windlock::sim
