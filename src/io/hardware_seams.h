#pragma once
// Where the hardware layer meets the machine: the kernel device's channel, the processor's
// port instructions of the direct mode, and the machine itself (the platform's version and
// the two installer steps that act on the whole system: starting a kernel service,
// restarting Windows). Each is the system's own unless a test puts a stand-in there.

#include <cstdint>

#include "base/seam.h"
#include "io/device_channel.h"
#include "io/port_space.h"

namespace tambre::io {

struct platform_version {
  bool nt = true;            // the platform id is that of NT
  bool nt5_or_later = true;  // NT with major version 5 or more
};

class machine {
 public:
  virtual ~machine() = default;
  virtual platform_version version() = 0;
  // ControlNTService's contract: 1/0, the platform error as last error.
  virtual int control_service(const char* name, int operation) = 0;
  // True when the restart was started; false with the platform error as last error.
  virtual bool restart() = 0;
};

base::seam<device_channel>& channel_seam();
base::seam<port_space>& direct_ports_seam();
base::seam<machine>& machine_seam();

inline device_channel& channel() { return channel_seam().get(); }
inline port_space& direct_ports() { return direct_ports_seam().get(); }
inline platform_version query_platform() { return machine_seam().get().version(); }
inline int control_service(const char* name, int operation) {
  return machine_seam().get().control_service(name, operation);
}
inline bool restart_system() { return machine_seam().get().restart(); }

}  // namespace tambre::io
