#include "io/hardware_stand_in.h"

#include "io/access_mode.h"
#include "io/mapping_table.h"
#include "io/platform_state.h"

namespace tambre::test {

hardware_stand_in::hardware_stand_in(simulated_platform platform) {
  machine.simulated = {platform != simulated_platform::windows9x, platform == simulated_platform::nt5};
  forget_layer_state();
}

hardware_stand_in::~hardware_stand_in() { forget_layer_state(); }

void hardware_stand_in::forget_layer_state() {
  io::reset_platform_state();
  io::forget_all_mappings();
  io::select_access_mode(io::access_mode::unavailable);
}

}  // namespace tambre::test
