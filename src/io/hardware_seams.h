#pragma once
// Where the hardware layer meets the machine: the kernel device's channel, the processor's
// port instructions of the direct mode, the platform's version, and the two installer
// steps that act on the whole system (starting a kernel service, restarting Windows).
// Each is the system's own unless a test puts a stand-in there; a null argument restores
// the system's own.

#include <cstdint>

#include "io/device_channel.h"
#include "io/port_space.h"

namespace tambre::io {

struct platform_version {
  bool nt = true;            // the platform id is that of NT
  bool nt5_or_later = true;  // NT with major version 5 or more
};

device_channel& channel();
void set_device_channel(device_channel* stand_in);

port_space& direct_ports();
void set_direct_ports(port_space* stand_in);

using platform_query = platform_version (*)();
platform_version query_platform();
void set_platform_query(platform_query stand_in);

// ControlNTService's contract: 1/0, the platform error as last error.
using service_control = int (*)(const char* name, int operation);
int control_service(const char* name, int operation);
void set_service_control(service_control stand_in);

// True when the restart was started; false with the platform error as last error.
using system_restart = bool (*)();
bool restart_system();
void set_system_restart(system_restart stand_in);

}  // namespace tambre::io
