#include "sys/os_version.h"

namespace tambre::sys {

// Not Windows: no record, which the version queries report as code 0.
os_version read_os_version() { return os_version{}; }

int query_wow64() { return 0; }

}  // namespace tambre::sys
