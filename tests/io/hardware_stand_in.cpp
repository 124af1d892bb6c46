#include "io/hardware_stand_in.h"

#include "io/access_mode.h"
#include "io/mapping_table.h"
#include "io/platform_state.h"

namespace tambre::test {

namespace {

io::platform_version simulated = {};

io::platform_version simulated_version() { return simulated; }

}  // namespace

hardware_stand_in::hardware_stand_in(simulated_platform platform) {
  simulated = {platform != simulated_platform::windows9x, platform == simulated_platform::nt5};
  forget_layer_state();
  io::set_platform_query(simulated_version);
  io::set_device_channel(&device);
  io::set_direct_ports(&device.ports());
}

hardware_stand_in::~hardware_stand_in() {
  io::set_device_channel(nullptr);
  io::set_direct_ports(nullptr);
  io::set_platform_query(nullptr);
  io::set_service_control(nullptr);
  io::set_system_restart(nullptr);
  forget_layer_state();
}

void hardware_stand_in::forget_layer_state() {
  io::reset_platform_state();
  io::forget_all_mappings();
  io::select_access_mode(io::access_mode::unavailable);
}

}  // namespace tambre::test
