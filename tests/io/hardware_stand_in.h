#pragma once
// Puts the simulated kernel device (and its port space, for the direct mode) behind the
// hardware layer's seams for one test, with the platform the test names; restores the
// system's own and forgets every process-wide state of the layer when it goes.

#include <windows.h>

#include "io/access_mode.h"
#include "io/hardware_seams.h"
#include "io/mapping_table.h"
#include "io/platform_state.h"
#include "io/simulated_device.h"

namespace tambre::test {

enum class simulated_platform { windows9x, nt4, nt5 };

// The machine as a test sees it: the simulated platform's version; services and restarts
// go to the given functions, or to the system's own when none is given.
struct simulated_machine final : io::machine {
  io::platform_version simulated;
  int (*service)(const char* name, int operation) = nullptr;
  bool (*restart_with)() = nullptr;

  io::platform_version version() override { return simulated; }
  int control_service(const char* name, int operation) override {
    return service ? service(name, operation) : io::machine_seam().system_own().control_service(name, operation);
  }
  bool restart() override { return restart_with ? restart_with() : io::machine_seam().system_own().restart(); }
};

class hardware_stand_in {
 public:
  explicit hardware_stand_in(simulated_platform platform = simulated_platform::nt5) {
    machine.simulated = {platform != simulated_platform::windows9x, platform == simulated_platform::nt5};
    forget_layer_state();
  }
  ~hardware_stand_in() { forget_layer_state(); }
  hardware_stand_in(const hardware_stand_in&) = delete;
  hardware_stand_in& operator=(const hardware_stand_in&) = delete;

  simulated_device device{[] { return static_cast<std::uint32_t>(GetTickCount()); }};
  simulated_machine machine;
  simulated_ports& ports() { return device.ports(); }

 private:
  static void forget_layer_state() {
    io::reset_platform_state();
    io::forget_all_mappings();
    io::select_access_mode(io::access_mode::unavailable);
  }
  // Declared after what they install, so they are removed before it goes.
  base::scoped_stand_in<io::device_channel> channel_{io::channel_seam(), device};
  base::scoped_stand_in<io::port_space> ports_{io::direct_ports_seam(), device.ports()};
  base::scoped_stand_in<io::machine> machine_{io::machine_seam(), machine};
};

}  // namespace tambre::test
