#include "backends/sim/sim_machine.h"

namespace windlock::sim {

SimWindow::SimWindow(SimMachine& machine, int id)
    : id_(id),
      hosting_(machine.world, BrowserRole::kHost),
      controls_(machine.world, machine.trace, machine.files),
      platform_{machine.registry,  machine.files,    machine.ui,   machine.scheduler,
                machine.scheduler, machine.keyboard, machine.text, controls_,
                machine.windows,   machine.xml,      machine.help, machine.menus,
                machine.programs} {}

SimMachine::SimMachine() {
  scheduler.SetAfterTick([this] { navigations.DeliverAll(); });
}

SimWindow& SimMachine::Window(int id) {
  auto& window = windows_[id];
  if (!window) window = std::make_unique<SimWindow>(*this, id);
  return *window;
}

}  // namespace windlock::sim
