#pragma once
// Puts the simulated kernel device (and its port space, for the direct mode) behind the
// hardware layer's seams for one test, with the platform the test names; restores the
// system's own and forgets every process-wide state of the layer when it goes.

#include <windows.h>

#include "io/hardware_seams.h"
#include "io/simulated_device.h"

namespace tambre::test {

enum class simulated_platform { windows9x, nt4, nt5 };

class hardware_stand_in {
 public:
  explicit hardware_stand_in(simulated_platform platform = simulated_platform::nt5);
  ~hardware_stand_in();
  hardware_stand_in(const hardware_stand_in&) = delete;
  hardware_stand_in& operator=(const hardware_stand_in&) = delete;

  simulated_device device{[] { return static_cast<std::uint32_t>(GetTickCount()); }};
  simulated_ports& ports() { return device.ports(); }

 private:
  static void forget_layer_state();
};

}  // namespace tambre::test
