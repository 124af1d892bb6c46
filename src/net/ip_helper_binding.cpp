#include "frame/lifecycle.h"

namespace tambre::net {

// The adapter functions load IP Helper on first use; none of them exists yet, so there
// is never a binding to release.
void release_ip_helper() {}

}  // namespace tambre::net
