#include "frame/lifecycle.h"

namespace tambre::io {

// The port-access mode is chosen by the kernel-device layer; until that layer is in the
// library there is no port I/O to prepare.
void on_process_attach() {}

}  // namespace tambre::io
